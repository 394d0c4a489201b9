#include "core/targetcadlist.h"

#include <new>

#include "core/platform/platform.h"
#include "core/text.h"

namespace orvane {

namespace {

std::u16string listPath(std::u16string_view programDirectory) {
    std::u16string path(programDirectory);
    path += kTargetCADListFileName;
    return path;
}

std::u16string progIdKey(std::u16string_view progId) {
    std::u16string key(1, u'\t');
    key += progId;
    return key;
}

std::u16string joinEntry(std::u16string_view label, std::u16string_view progId) {
    std::u16string entry(label);
    entry += u'\t';
    entry += progId;
    return entry;
}

}  // namespace

std::optional<std::u16string> FindTargetCADName(std::u16string_view programDirectory,
                                                std::u16string_view progId) {
    const std::u16string path = listPath(programDirectory);
    if (!platform::fileExists(path)) {
        return std::nullopt;
    }
    const std::u16string key = progIdKey(progId);
    for (const std::u16string& line : readLineFile(path).lines) {
        const std::size_t position = findPos(key, line);
        if (position > 0) {
            return line.substr(0, position - 1);
        }
    }
    return std::nullopt;
}

TargetCADEntry splitTargetCADEntry(std::u16string_view entry) {
    const std::size_t tab = entry.find(u'\t');
    if (tab == std::u16string_view::npos) {
        return {std::u16string(), std::u16string(entry)};
    }
    return {std::u16string(entry.substr(0, tab)), std::u16string(entry.substr(tab + 1))};
}

TargetCADList::TargetCADList(std::u16string programDirectory)
    : path_(listPath(programDirectory)) {}

bool TargetCADList::Reload() {
    if (!platform::fileExists(path_)) {
        return false;
    }
    LineFileContent content = readLineFile(path_);
    SortedList loaded;
    for (std::u16string& line : content.lines) {
        loaded.add(std::move(line));
    }
    list_ = std::move(loaded);
    readEncoding_ = content.encoding;
    return true;
}

std::optional<std::size_t> TargetCADList::SelectProgID(std::u16string_view progId) {
    const std::u16string key = progIdKey(progId);
    for (std::size_t i = 0; i < list_.count(); ++i) {
        if (findPos(key, list_.at(i)) > 0) {
            list_.select(i);
            return i;
        }
    }
    return std::nullopt;
}

TargetCADEntry TargetCADList::SplitEntry(std::size_t index) const {
    return splitTargetCADEntry(list_.at(index));
}

std::size_t TargetCADList::AddEntry(std::u16string_view label, std::u16string_view progId) {
    try {
        const std::u16string entry = joinEntry(label, progId);
        list_.add(entry);
        // The new entry itself matches, so an earlier case-equal one wins.
        const std::size_t first = list_.find(entry).value();
        list_.select(first);
        return first;
    } catch (const std::bad_alloc&) {
        throw Error(u"行を挿入できません");
    }
}

std::optional<std::size_t> TargetCADList::DeleteSelected() {
    const auto selected = list_.selectedIndex();
    if (!selected) {
        return std::nullopt;
    }
    const std::size_t i = *selected;
    list_.remove(i);
    std::optional<std::size_t> next;
    if (i < list_.count()) {
        next = i;
    } else if (i > 0) {
        next = i - 1;
    }
    list_.select(next);
    return next;
}

void TargetCADList::ChangeSelected(std::u16string_view label, std::u16string_view progId) {
    const auto selected = list_.selectedIndex();
    if (!selected) {
        throw listIndexError(-1);
    }
    list_.replace(*selected, joinEntry(label, progId));
}

void TargetCADList::Save() const {
    writeLineFile(path_, list_.entries(), readEncoding_.value_or(TextEncoding::Ansi));
}

}  // namespace orvane
