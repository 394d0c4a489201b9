#include "cadlink/fake/fakeautomation.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/utf.h"

namespace orvane::cadlink::fake {
namespace {

std::string escaped(std::u16string_view text) {
    std::string result;
    for (char c : orvane::toUtf8(text)) {
        switch (c) {
            case '\r':
                result += "\\r";
                break;
            case '\n':
                result += "\\n";
                break;
            case '\t':
                result += "\\t";
                break;
            default:
                result += c;
        }
    }
    return result;
}

}  // namespace

FakeAutomationObject::FakeAutomationObject(std::string label, CallLogRef log)
    : label_(std::move(label)), log_(std::move(log)) {}

void FakeAutomationObject::setMember(const std::u16string& name, Handler handler) {
    if (std::find(names_.begin(), names_.end(), name) == names_.end()) {
        names_.push_back(name);
    }
    handlers_[name] = std::move(handler);
}

void FakeAutomationObject::setValue(const std::u16string& name, Variant value) {
    setMember(name,
              [value = std::move(value)](const std::optional<std::u16string>&) { return value; });
}

void FakeAutomationObject::setValues(const std::u16string& name, std::vector<Variant> values) {
    auto answers = std::make_shared<std::vector<Variant>>(std::move(values));
    auto next = std::make_shared<std::size_t>(0);
    setMember(name, [answers, next](const std::optional<std::u16string>&) {
        if (answers->empty()) {
            return Variant{};
        }
        const Variant& answer = (*answers)[std::min(*next, answers->size() - 1)];
        ++*next;
        return answer;
    });
}

void FakeAutomationObject::failMember(const std::u16string& name, std::int32_t code) {
    const std::string text = label_ + "." + orvane::toUtf8(name) + " failed";
    setMember(name, [code, text](const std::optional<std::u16string>&) -> Variant {
        throw AutomationError(code, text);
    });
}

void FakeAutomationObject::removeMember(const std::u16string& name) {
    handlers_.erase(name);
}

DispId FakeAutomationObject::GetIDsOfNames(std::u16string_view name) {
    log_->add(label_ + ".GetIDsOfNames(" + orvane::toUtf8(name) + ")");
    const auto known = std::find(names_.begin(), names_.end(), name);
    if (known == names_.end() || !handlers_.contains(*known)) {
        throw AutomationError(status::UnknownName, "unknown name " + orvane::toUtf8(name));
    }
    return static_cast<DispId>(known - names_.begin()) + 1;
}

Variant FakeAutomationObject::Invoke(DispId member, CallKind kind,
                                     const std::optional<std::u16string>& argument,
                                     bool wantResult) {
    if (member < 1 || static_cast<std::size_t>(member) > names_.size()) {
        throw AutomationError(status::UnknownName, "unknown member id");
    }
    const std::u16string& name = names_[static_cast<std::size_t>(member) - 1];
    std::string entry = label_ + ".Invoke(" + orvane::toUtf8(name) + "," +
                        std::to_string(static_cast<int>(kind)) + "," +
                        (wantResult ? "want" : "none");
    if (argument) {
        entry += ",\"" + escaped(*argument) + "\"";
    }
    log_->add(entry + ")");
    invocations_.push_back({name, kind, argument, wantResult});
    const auto handler = handlers_.find(name);
    if (handler == handlers_.end()) {
        throw AutomationError(status::UnknownName, "member removed");
    }
    return handler->second(argument);
}

FakeAutomationRuntime::FakeAutomationRuntime(CallLogRef log) : log_(std::move(log)) {}

void FakeAutomationRuntime::registerProgId(const std::u16string& progId,
                                           const std::string& classId) {
    classes_[progId] = classId;
}

void FakeAutomationRuntime::setRunning(const std::string& classId, ObjectRef object) {
    if (object) {
        running_[classId] = std::move(object);
    } else {
        running_.erase(classId);
    }
}

void FakeAutomationRuntime::failOn(const std::string& call, std::int32_t code, int successesFirst) {
    failures_[call] = Failure{code, successesFirst};
}

void FakeAutomationRuntime::failIfScripted(const std::string& call) {
    const auto failure = failures_.find(call);
    if (failure == failures_.end()) {
        return;
    }
    if (failure->second.successesLeft > 0) {
        --failure->second.successesLeft;
        return;
    }
    throw AutomationError(failure->second.code, call + " failed");
}

ClassId FakeAutomationRuntime::CLSIDFromProgID(std::u16string_view progId) {
    log_->add("CLSIDFromProgID(" + orvane::toUtf8(progId) + ")");
    failIfScripted("CLSIDFromProgID");
    const auto found = classes_.find(progId);
    if (found == classes_.end()) {
        throw AutomationError(status::ClassNotRegistered, "invalid class string");
    }
    return ClassId{found->second};
}

ObjectRef FakeAutomationRuntime::GetActiveObject(const ClassId& classId) {
    log_->add("GetActiveObject(" + classId.value + ")");
    failIfScripted("GetActiveObject");
    const auto found = running_.find(classId.value);
    if (found == running_.end()) {
        throw AutomationError(status::NotRunning, "operation unavailable");
    }
    return found->second;
}

MessageFilterRef FakeAutomationRuntime::CoRegisterMessageFilter(MessageFilterRef filter) {
    log_->add("CoRegisterMessageFilter");
    failIfScripted("CoRegisterMessageFilter");
    if (refuseFilters_) {
        return nullptr;
    }
    return std::exchange(filter_, std::move(filter));
}

}  // namespace orvane::cadlink::fake
