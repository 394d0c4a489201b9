#include "tests/windows/democadprocess.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "core/tests/scratch_dir.h"
#include "core/utf.h"

namespace orvane::wintest {

namespace {

std::wstring wide(std::u16string_view text) { return {text.begin(), text.end()}; }

// One argument as the C runtime splits a command line: quoted, with the
// backslashes before a quote doubled.
void appendArgument(std::wstring& line, std::wstring_view argument) {
    line += L" \"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
}

// Starts the demo with its standard output and error in the file.
PROCESS_INFORMATION startDemoCad(const std::vector<std::u16string>& arguments, const std::filesystem::path& output) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE file = CreateFileW(output.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create the demo CAD's output file");
    std::wstring line = L"\"" + demoCadPath().wstring() + L"\"";
    for (const std::u16string& argument : arguments) appendArgument(line, wide(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!started) throw std::runtime_error("cannot start the demo CAD, error " + std::to_string(error));
    return process;
}

std::string fileText(const std::filesystem::path& path) {
    // Shared, as the demo still writes it.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

BOOL CALLBACK closeWindowOf(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId)) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

DWORD exitCodeOf(HANDLE process) {
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

}  // namespace

std::filesystem::path demoCadPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path() / L"democad.exe";
}

std::u16string uniqueProgId(std::u16string_view stem) {
    static std::atomic<int> counter{0};
    const std::string tail = "P" + std::to_string(GetCurrentProcessId()) + "N" + std::to_string(counter++);
    return u"OrvaneTest." + std::u16string(stem) + fromUtf8(tail);
}

DWORD registerDemoCad(const std::u16string& progId) {
    const std::filesystem::path folder = testing::makeScratchDirectory("orvane-democad-");
    const PROCESS_INFORMATION process = startDemoCad({u"--register", progId}, folder / L"output.txt");
    WaitForSingleObject(process.hProcess, static_cast<DWORD>(demoCadDeadline.count()));
    const DWORD code = exitCodeOf(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    testing::removeScratchDirectory(folder);
    return code;
}

DemoCadProcess::DemoCadProcess(std::u16string progId, std::vector<std::u16string> options)
    : progId_(std::move(progId)), folder_(testing::makeScratchDirectory("orvane-democad-")) {
    options.insert(options.end(), {u"--log", (folder_ / L"democad.log").u16string(), progId_});
    process_ = startDemoCad(options, folder_ / L"output.txt");
}

DemoCadProcess::~DemoCadProcess() {
    if (running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, static_cast<DWORD>(demoCadDeadline.count()));
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    testing::removeScratchDirectory(folder_);
}

bool DemoCadProcess::running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

std::vector<std::u16string> DemoCadProcess::logLines() const {
    const std::string text = fileText(folder_ / L"democad.log");
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    // A line counts once its line end is written.
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(fromUtf8(std::string_view(text).substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

std::size_t DemoCadProcess::countLines(std::u16string_view line) const {
    const std::vector<std::u16string> lines = logLines();
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

std::string DemoCadProcess::output() const { return fileText(folder_ / L"output.txt"); }

::testing::AssertionResult DemoCadProcess::failure(const std::string& what) const {
    std::ostringstream message;
    message << what << " (ProgID " << toUtf8(progId_) << ")";
    if (!running()) message << "; the demo CAD ended with exit code " << exitCodeOf(process_.hProcess);
    message << "\nlog:\n" << fileText(folder_ / L"democad.log") << "output:\n" << output();
    return ::testing::AssertionFailure() << message.str();
}

template <typename Condition>
::testing::AssertionResult DemoCadProcess::waitFor(Condition condition, const std::string& what) const {
    const auto deadline = std::chrono::steady_clock::now() + demoCadDeadline;
    for (;;) {
        if (condition()) return ::testing::AssertionSuccess();
        if (!running()) return condition() ? ::testing::AssertionSuccess() : failure("no " + what);
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition() ? ::testing::AssertionSuccess() : failure("no " + what + " by the deadline");
        }
        // Wakes at once when the demo ends.
        WaitForSingleObject(process_.hProcess, 10);
    }
}

::testing::AssertionResult DemoCadProcess::waitReady() {
    std::u16string ready;
    auto result = waitFor(
        [&] {
            const std::vector<std::u16string> lines = logLines();
            const auto found = std::find_if(lines.begin(), lines.end(),
                                            [](const std::u16string& line) { return line.starts_with(u"READY "); });
            if (found != lines.end()) ready = found->substr(6);
            return found != lines.end();
        },
        "READY line");
    if (!result) return result;
    try {
        windowValue_ = static_cast<std::int32_t>(std::stol(toUtf8(ready)));
    } catch (const std::exception&) {
        return failure("a READY line without a window handle");
    }
    window_ = reinterpret_cast<HWND>(static_cast<INT_PTR>(windowValue_));
    return result;
}

::testing::AssertionResult DemoCadProcess::waitForLine(std::u16string_view line) const {
    return waitFor([&] { return countLines(line) > 0; }, "log line \"" + toUtf8(line) + "\"");
}

::testing::AssertionResult DemoCadProcess::waitForLineCount(std::size_t count) const {
    return waitFor([&] { return logLines().size() >= count; }, std::to_string(count) + " log lines");
}

DWORD DemoCadProcess::close() {
    EnumWindows(&closeWindowOf, static_cast<LPARAM>(process_.dwProcessId));
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(demoCadDeadline.count())) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, static_cast<DWORD>(demoCadDeadline.count()));
    }
    return exitCodeOf(process_.hProcess);
}

}  // namespace orvane::wintest
