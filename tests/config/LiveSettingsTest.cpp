#include "config/LiveSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace calidus {
namespace {

TEST(LiveSettings, ListenersHearEachChangedKeyOnceAndNothingElse) {
    Settings values;
    LiveSettings live(Edition::standard(), values);
    std::vector<std::string> heard;
    const std::size_t listener =
        live.listen([&heard](const SettingsKey& key) { heard.push_back(key.name); });

    // What a call answered and what the listener heard meanwhile.
    struct Told {
        bool changed;
        std::vector<std::string> keys;
        bool operator==(const Told&) const = default;
    };
    const auto told = [&heard](bool changed) { return Told{changed, std::exchange(heard, {})}; };
    const std::vector<std::pair<Told, Told>> cases{
        {told(live.set(KeyId::Alarm1, 90)), {true, {"Alarm1"}}},
        {told(live.set(KeyId::Alarm1, 90)), {false, {}}},
        {told(live.set(KeyId::OnTop, 5)), {true, {"OnTop"}}},
        {told(live.set(KeyId::OnTop, 1)), {false, {}}},  // already on
        {told(live.set(KeyId::AlarmFile, "/usr/bin/beep")), {true, {"AlarmFile"}}},
        {told(live.set(KeyId::IconTextColor, 0x0000FF, 2)), {true, {"IconTextColor2"}}},
        {told(live.setIconShow(IconShow(1))), {false, {}}},
        {told(live.set(KeyId::Alarm2, "90")), {false, {}}},   // a number key given a text
        {told(live.set(KeyId::TjMax, 90, 1)), {false, {}}},   // kept with the cores
        {told(live.set(KeyId::FontNumber, 2)), {false, {}}},  // an XL key
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(cases[i].first.changed, cases[i].second.changed) << i;
        EXPECT_EQ(cases[i].first.keys, cases[i].second.keys) << i;
    }
    EXPECT_EQ(values.alarm1, 90);
    EXPECT_TRUE(values.onTop);
    EXPECT_EQ(values.iconTextColor[2], 0x0000FFu);

    heard.clear();
    Settings applied = values;
    applied.guiColor = 0x102030;
    applied.csv = true;
    live.assign(applied);
    EXPECT_EQ(heard, (std::vector<std::string>{"CSV", "GUIColor"}));
    EXPECT_EQ(values, applied);

    heard.clear();
    live.unlisten(listener);
    live.set(KeyId::Csv, 0);
    EXPECT_TRUE(heard.empty());
}

}  // namespace
}  // namespace calidus
