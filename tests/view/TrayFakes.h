#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "view/TrayHost.h"
#include "view/TrayWindow.h"

namespace calidus::testing {

// A notification area that keeps its entries and logs every call, e.g. "add 4".
class FakeTrayHost : public TrayHost {
  public:
    std::map<int, TrayEntry> entries;
    std::set<int> refusing;  // slots whose adds fail
    std::vector<std::string> calls;

    bool add(int slot, const TrayEntry& entry) override {
        calls.push_back("add " + std::to_string(slot));
        if (refusing.contains(slot) || entries.contains(slot)) {
            return false;
        }
        entries[slot] = entry;
        return true;
    }
    bool modify(int slot, const TrayEntry& entry) override {
        calls.push_back("modify " + std::to_string(slot));
        if (!entries.contains(slot)) {
            return false;
        }
        entries[slot] = entry;
        return true;
    }
    bool remove(int slot) override {
        calls.push_back("remove " + std::to_string(slot));
        return entries.erase(slot) == 1;
    }
    // The desktop's tray restarted and forgot every icon.
    void restartTray() { entries.clear(); }
};

class FakeTrayWindow : public TrayWindow {
  public:
    bool visible = true;
    bool restored = true;
    std::vector<std::string> calls;

    bool isVisible() const override { return visible; }
    bool isRestored() const override { return restored; }
    void minimize() override { calls.push_back("minimize"); }
    void minimizeFromMenu() override { calls.push_back("minimizeFromMenu"); }
    void restore() override { calls.push_back("restore"); }
    void moveToTopRight() override { calls.push_back("moveToTopRight"); }
    void resetStatistics() override { calls.push_back("resetStatistics"); }
    void quit() override { calls.push_back("quit"); }
    void openHistory() override { calls.push_back("openHistory"); }
};

}  // namespace calidus::testing
