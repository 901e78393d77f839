// Basic types of the gui layer: the names the forms are written against.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

class QColor;

// Every form and control is a TObject so handlers can take a Sender.
class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// 0x00BBGGRR, as the data files and the project file store it.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = 0xF0F0F0;
constexpr TColor clBtnShadow = 0xA0A0A0;
constexpr TColor clBtnHighlight = 0xFFFFFF;

inline constexpr int GetRValue(TColor c) { return c & 0xFF; }
inline constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
inline constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
inline constexpr TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

// The one place where TColor meets Qt's colours.
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);
// 0xAARRGGBB pixel of a Format_RGB32 image <-> TColor.
inline constexpr uint32_t ToPixel(TColor c) {
    return 0xFF000000u | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | uint32_t(GetBValue(c));
}
inline constexpr TColor FromPixel(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Modifier and button state of a mouse or key event.
struct TShiftState {
    bool Shift = false, Alt = false, Ctrl = false, Left = false, Right = false, Middle = false, Double = false;
};

enum TUDBtnType { btNext, btPrev };

// Virtual key codes, as the desktop numbers them, for key-down handlers.
constexpr int VK_BACK = 0x08, VK_RETURN = 0x0D, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
              VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D,
              VK_OEM_PLUS = 0xBB, VK_OEM_MINUS = 0xBD;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7;

// Message box flags and answers, with the values of the desktop they come from.
constexpr int MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4;
constexpr int MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30,
              MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40, MB_ICONASTERISK = 0x40;
constexpr int MB_DEFBUTTON2 = 0x100;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

// Cursor numbers of the stock cursors; the program's own start at 1.
using TCursor = int;
constexpr TCursor crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crHourGlass = -11,
                  crHandPoint = -21, crSizeAll = -22, crDrag = -12;
