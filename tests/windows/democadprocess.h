#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::wintest {

// How long a test waits for the demo CAD: generous, for Wine on busy cores.
inline constexpr std::chrono::milliseconds demoCadDeadline{30000};

// The demo CAD, democad.exe, beside the running test program.
std::filesystem::path demoCadPath();

// A ProgID no other test uses: "OrvaneTest.<stem>P<process id>N<count>".
std::u16string uniqueProgId(std::u16string_view stem);

// Runs "democad.exe --register PROGID" to its end; its exit code.
DWORD registerDemoCad(const std::u16string& progId);

// A demo CAD started for one test under its own ProgID, with its log and its
// standard output and error in a temporary folder of its own; killed, if
// still running, and its folder removed when the object goes.
class DemoCadProcess {
public:
    explicit DemoCadProcess(std::u16string progId, std::vector<std::u16string> options = {});
    ~DemoCadProcess();
    DemoCadProcess(const DemoCadProcess&) = delete;
    DemoCadProcess& operator=(const DemoCadProcess&) = delete;

    // Waits for the READY line. Fails with the log, the output and the exit
    // code when the demo ends first or the deadline passes.
    ::testing::AssertionResult waitReady();
    // The window the READY line named.
    HWND window() const { return window_; }
    // The same as the 32-bit number the READY line and HWND give.
    std::int32_t windowValue() const { return windowValue_; }
    const std::u16string& progId() const { return progId_; }
    DWORD processId() const { return process_.dwProcessId; }
    HANDLE processHandle() const { return process_.hProcess; }

    // The complete lines of the log so far.
    std::vector<std::u16string> logLines() const;
    std::size_t countLines(std::u16string_view line) const;
    ::testing::AssertionResult waitForLine(std::u16string_view line) const;
    ::testing::AssertionResult waitForLineCount(std::size_t count) const;
    // What the demo wrote to its standard output and error.
    std::string output() const;

    bool running() const;
    // Asks its windows to close and waits for its end; terminates it when it
    // does not end by the deadline. Gives its exit code.
    DWORD close();

private:
    template <typename Condition>
    ::testing::AssertionResult waitFor(Condition condition, const std::string& what) const;
    ::testing::AssertionResult failure(const std::string& what) const;

    std::u16string progId_;
    std::filesystem::path folder_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    std::int32_t windowValue_ = 0;
};

}  // namespace orvane::wintest
