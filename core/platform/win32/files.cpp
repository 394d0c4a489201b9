#include "core/platform/platform.h"

#include "core/error.h"
#include "core/platform/read_file.h"
#include "core/platform/win32/handle.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace orvane::platform {

namespace {

constexpr std::u16string_view openFailure = u"ファイル %s は開けません。 %s ";
constexpr std::u16string_view createFailure = u"ファイル \"%s\" を作成できません。%s";

[[noreturn]] void failOpen(std::u16string_view path, DWORD error) {
    throw Error(formatMessage(openFailure, {path, errorText(error)}));
}

[[noreturn]] void failCreate(std::u16string_view path, DWORD error) {
    throw Error(formatMessage(createFailure, {path, errorText(error)}));
}

DWORD attributesOf(std::u16string_view path) {
    const auto name = toSystemPath(path);
    return name ? GetFileAttributesW(name->c_str()) : INVALID_FILE_ATTRIBUTES;
}

// Only files on disk are read or written: a pipe or device could block or
// never end.
DWORD refusalOf(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info) {
    if (GetFileType(handle) != FILE_TYPE_DISK) return ERROR_INVALID_FUNCTION;
    if (!GetFileInformationByHandle(handle, &info)) return GetLastError();
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ERROR_ACCESS_DENIED : 0;
}

std::uint64_t sizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
}

bool writeAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), piece, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

std::wstring temporaryNameBeside(const std::wstring& target) {
    static std::atomic<unsigned> counter{0};
    const std::size_t at = target.find_last_of(L"\\:");
    const std::wstring name = at == std::wstring::npos ? target : target.substr(at + 1);
    const std::wstring folder = at == std::wstring::npos ? std::wstring() : target.substr(0, at + 1);
    return folder + L"." + name + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(counter.fetch_add(1)) + L".tmp";
}

// A fresh temporary file beside the target, or an invalid handle.
HANDLE createTemporary(const std::wstring& target, std::wstring& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryNameBeside(target);
        const HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return handle;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// Writes a temporary beside the target and puts it in the target's place,
// keeping the old file's security and attributes. False, with nothing
// changed, when no temporary can be made there (a folder the user may not
// write): the caller then writes in place.
bool replaceAtomically(std::u16string_view path, const std::wstring& target,
                       std::string_view bytes, const BY_HANDLE_FILE_INFORMATION* old) {
    std::wstring temporary;
    Handle file(createTemporary(target, temporary));
    if (!file.valid()) {
        if (old != nullptr) return false;
        failCreate(path, GetLastError());
    }
    DWORD failure = 0;
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) failure = GetLastError();
    if (!file.close() && failure == 0) failure = GetLastError();
    if (failure == 0) {
        const BOOL moved =
            old != nullptr
                ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                : MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        if (!moved) failure = GetLastError();
    }
    if (failure != 0) {
        DeleteFileW(temporary.c_str());
        failCreate(path, failure);
    }
    // Not every system's replacement keeps the attributes (hidden, say).
    if (old != nullptr && GetFileAttributesW(target.c_str()) != old->dwFileAttributes) {
        SetFileAttributesW(target.c_str(), old->dwFileAttributes);
    }
    return true;
}

// Truncates and rewrites the file that was checked, and no other.
void writeInPlace(std::u16string_view path, const std::wstring& target,
                  const BY_HANDLE_FILE_INFORMATION& checked, std::string_view bytes) {
    Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) failCreate(path, GetLastError());
    BY_HANDLE_FILE_INFORMATION opened{};
    if (const DWORD refusal = refusalOf(file.get(), opened)) failCreate(path, refusal);
    if (!sameFile(opened, checked)) failCreate(path, ERROR_SHARING_VIOLATION);
    DWORD failure = 0;
    if (!SetEndOfFile(file.get()) || !writeAll(file.get(), bytes) ||
        !FlushFileBuffers(file.get())) {
        failure = GetLastError();
    }
    if (!file.close() && failure == 0) failure = GetLastError();
    if (failure != 0) failCreate(path, failure);
}

// The file's identity and attributes, looked at without writing to it.
bool inspect(const std::wstring& target, BY_HANDLE_FILE_INFORMATION& info, DWORD& failure) {
    Handle file(CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        failure = GetLastError();
        return false;
    }
    failure = refusalOf(file.get(), info);
    return failure == 0;
}

}  // namespace

bool fileExists(std::u16string_view path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool regularFileExists(std::u16string_view path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

std::optional<FileStamp> fileStamp(std::u16string_view path) {
    const auto name = toSystemPath(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!name || !GetFileAttributesExW(name->c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return FileStamp{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                     static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                               data.ftLastWriteTime.dwLowDateTime)};
}

std::vector<std::u16string> listFiles(std::u16string_view directory) {
    std::vector<std::u16string> names;
    auto pattern = toSystemPath(directory);
    if (!pattern) return names;
    if (!pattern->empty() && pattern->find_last_of(L"\\/:") != pattern->size() - 1) {
        pattern->push_back(L'\\');
    }
    pattern->push_back(L'*');
    WIN32_FIND_DATAW entry{};
    const HANDLE found = FindFirstFileExW(pattern->c_str(), FindExInfoBasic, &entry,
                                          FindExSearchNameMatch, nullptr, 0);
    if (found == INVALID_HANDLE_VALUE) return names;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const std::wstring_view name = entry.cFileName;
        names.emplace_back(name.begin(), name.end());
    } while (FindNextFileW(found, &entry));
    FindClose(found);
    std::sort(names.begin(), names.end());
    return names;
}

void readOpenedFile(std::u16string_view path, const std::function<void(std::size_t)>& sized,
                    const std::function<bool(std::string_view)>& take) {
    const auto name = toSystemPath(path);
    if (!name) failOpen(path, ERROR_FILE_NOT_FOUND);
    // A folder is refused before anything is opened.
    const DWORD attributes = GetFileAttributesW(name->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        failOpen(path, ERROR_ACCESS_DENIED);
    }
    Handle file(CreateFileW(name->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) failOpen(path, GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    if (const DWORD refusal = refusalOf(file.get(), info)) failOpen(path, refusal);
    if (sizeOf(info) > kMaxReadBytes) failOpen(path, ERROR_FILE_TOO_LARGE);
    if (sized) sized(static_cast<std::size_t>(sizeOf(info)));

    std::size_t total = 0;
    const auto buffer = std::make_unique<char[]>(65536);
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.get(), buffer.get(), 65536, &count, nullptr)) {
            failOpen(path, GetLastError());
        }
        if (count == 0) break;
        total += count;
        if (total > kMaxReadBytes) failOpen(path, ERROR_FILE_TOO_LARGE);
        if (!take(std::string_view(buffer.get(), count))) break;
    }
}

void replaceWholeFile(std::u16string_view path, std::string_view bytes) {
    const auto target = toSystemPath(path);
    if (!target) failCreate(path, ERROR_INVALID_NAME);
    BY_HANDLE_FILE_INFORMATION info{};
    DWORD failure = 0;
    if (!inspect(*target, info, failure)) {
        if (failure != ERROR_FILE_NOT_FOUND) failCreate(path, failure);
        replaceAtomically(path, *target, bytes, nullptr);
        return;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        failCreate(path, ERROR_ACCESS_DENIED);
    }
    // Replacing would part a file from its other names, or a link from the
    // file it leads to: those are written in place.
    const bool own = info.nNumberOfLinks == 1 &&
                     (GetFileAttributesW(target->c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (own && replaceAtomically(path, *target, bytes, &info)) return;
    writeInPlace(path, *target, info, bytes);
}

}  // namespace orvane::platform
