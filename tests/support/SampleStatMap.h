// The statistics map of the sample table's population, applied as the user does.
#pragma once
#include "gui/Testing.h"
#include "paint/StatLayer.h"
#include "paint/Ustatmap.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace testsupport {

inline void ApplySamplePopulation(const std::filesystem::path& programDir) {
    StatMapWindow()->Show();
    gui::testing::QueueFileName((programDir / "サンプル" / "住民基本台帳人口_2021.csv").string());
    StatMap->BtnOpen->Click();
    StatMap->CBValue->SetItemIndex(6);
    StatMap->CBValue->OnChange(StatMap->CBValue);
    StatMap->BtnApply->Click();
    ASSERT_TRUE(StatLayerOnMap->Shown().on);
}

} // namespace testsupport
