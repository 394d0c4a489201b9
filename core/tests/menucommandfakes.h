#pragma once

// Fakes around the menu commands: a CAD guard with a scripted CAD and the
// windows, both writing into one log so that their order shows.

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/cadaccess.h"
#include "core/menucommands.h"

namespace orvane::testing {

using CommandLog = std::vector<std::u16string>;

// Runs the steps as the real guard does: only while the CAD runs, every
// failure discarded.
class FakeCadAccess final : public CadAccess, private CadSession {
public:
    explicit FakeCadAccess(CommandLog& log) : log_(log) {}

    bool running = true;
    std::u16string fullName;
    std::u16string path;
    // Steps that throw: "front", "send", "FullName", "Path".
    std::set<std::u16string> failing;
    int guardRuns = 0;

    void runGuarded(const std::function<void(CadSession&)>& steps) override {
        ++guardRuns;
        if (!running) {
            return;
        }
        try {
            steps(*this);
        } catch (...) {
            log_.push_back(u"discarded");
        }
    }

private:
    void BringCADToFront() override {
        failIf(u"front");
        log_.push_back(u"front");
    }
    void SendCADCommand(std::u16string_view text) override {
        failIf(u"send");
        log_.push_back(u"send " + std::u16string(text));
    }
    std::u16string ReadTextMember(std::u16string_view member) override {
        failIf(std::u16string(member));
        log_.push_back(u"read " + std::u16string(member));
        return member == u"FullName" ? fullName : path;
    }
    void failIf(const std::u16string& step) const {
        if (failing.count(step) != 0) {
            throw std::runtime_error("CAD call failed");
        }
    }

    CommandLog& log_;
};

class FakeCommandWindows final : public CommandWindows {
public:
    explicit FakeCommandWindows(CommandLog& log) : log_(log) {}

    bool dialogAnswersOk = false;
    bool dialogThrows = false;
    std::u16string dialogName;

    void showInformation(std::u16string_view caption, std::u16string_view text) override {
        log_.push_back(u"box[" + std::u16string(caption) + u"] " + std::u16string(text));
    }
    bool showTargetCADDialog() override {
        log_.push_back(u"dialog");
        if (dialogThrows) {
            throw Error(u"dialog failed");
        }
        return dialogAnswersOk;
    }
    std::u16string targetDialogName() const override {
        log_.push_back(u"Edit1");
        return dialogName;
    }
    void setDialogTopMost(bool on) override {
        log_.push_back(on ? u"dialog top-most" : u"dialog not top-most");
    }
    void setPanelTopMost(bool on) override {
        log_.push_back(on ? u"panel top-most" : u"panel not top-most");
    }
    void processPendingMessages() override { log_.push_back(u"pump"); }

private:
    CommandLog& log_;
};

}  // namespace orvane::testing
