// Addresses and fixed texts that whoever distributes the program sets, kept in one place.
#pragma once
#include <string>

namespace settings {

// The program's home page (help menu, about box). Left empty while there is
// no such page or address: the items that would open it are not shown.
inline constexpr const char* HomePageUrl = "";
// The top page of the national survey authority's web map (display settings link).
inline constexpr const char* WebMapTopUrl = "https://maps.gsi.go.jp/";
// The author (start screen button, about box) and user support (about box, usage notes).
inline constexpr const char* AuthorMail = "";
inline constexpr const char* SupportMail = "";

inline bool Configured(const char* address) { return address && *address; }

// The national survey authority's web map: the host that the clicked point's
// path and query are put after.
inline constexpr const char* WebMapHost = "https://maps.gsi.go.jp";

// The notice line in the upper-left corner of the map: the data source's credit.
inline constexpr const char* MapNotice = "出典：国土数値情報（行政区域データ）を加工して作成";

// The address of a "mailto:" link, as shown beside it.
inline std::string MailAddress(const char* mailto) {
    std::string s = mailto;
    return s.rfind("mailto:", 0) == 0 ? s.substr(7) : s;
}

} // namespace settings
