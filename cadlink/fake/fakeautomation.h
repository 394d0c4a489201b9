#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/automation.h"
#include "cadlink/fake/calllog.h"

namespace orvane::cadlink::fake {

// An automation object whose members are scripted by the test. Logs
// "<label>.GetIDsOfNames(<member>)" and "<label>.Invoke(<member>,<kind>,want|none[,"<argument>"])".
class FakeAutomationObject final : public AutomationObject {
public:
    using Handler = std::function<Variant(const std::optional<std::u16string>& argument)>;

    struct Invocation {
        std::u16string member;
        CallKind kind;
        std::optional<std::u16string> argument;
        bool wantResult;
    };

    explicit FakeAutomationObject(std::string label, CallLogRef log = std::make_shared<CallLog>());

    void setMember(const std::u16string& name, Handler handler);
    // A member that always answers value.
    void setValue(const std::u16string& name, Variant value);
    // A member that answers each value in turn and keeps repeating the last.
    void setValues(const std::u16string& name, std::vector<Variant> values);
    // The member's name resolves, but calling it fails with code.
    void failMember(const std::u16string& name, std::int32_t code = status::Exception);
    // The member is unknown: name resolution fails with UnknownName.
    void removeMember(const std::u16string& name);

    DispId GetIDsOfNames(std::u16string_view name) override;
    Variant Invoke(DispId member, CallKind kind, const std::optional<std::u16string>& argument,
                   bool wantResult) override;

    const std::vector<Invocation>& invocations() const { return invocations_; }
    const std::string& label() const { return label_; }
    CallLog& log() { return *log_; }

private:
    std::string label_;
    CallLogRef log_;
    std::vector<std::u16string> names_;  // a member's DispId is its index + 1
    std::map<std::u16string, Handler, std::less<>> handlers_;
    std::vector<Invocation> invocations_;
};

// Class lookup, running objects and the message filter slot, scripted by the
// test. Logs "CLSIDFromProgID(<progId>)", "GetActiveObject(<classId>)" and
// "CoRegisterMessageFilter".
class FakeAutomationRuntime final : public AutomationRuntime {
public:
    explicit FakeAutomationRuntime(CallLogRef log = std::make_shared<CallLog>());

    void registerProgId(const std::u16string& progId, const std::string& classId);
    // A null object takes the class off the running list.
    void setRunning(const std::string& classId, ObjectRef object);
    // The named call ("CLSIDFromProgID", "GetActiveObject",
    // "CoRegisterMessageFilter") fails with code until cleared, after
    // succeeding successesFirst times.
    void failOn(const std::string& call, std::int32_t code = status::Failed,
                int successesFirst = 0);
    void clearFailures() { failures_.clear(); }
    // Registration quietly does nothing and hands back null, as a refused
    // registration leaves things.
    void refuseFilters(bool refuse) { refuseFilters_ = refuse; }

    MessageFilterRef currentFilter() const { return filter_; }
    void setCurrentFilter(MessageFilterRef filter) { filter_ = std::move(filter); }

    ClassId CLSIDFromProgID(std::u16string_view progId) override;
    ObjectRef GetActiveObject(const ClassId& classId) override;
    MessageFilterRef CoRegisterMessageFilter(MessageFilterRef filter) override;

    CallLog& log() { return *log_; }

private:
    struct Failure {
        std::int32_t code;
        int successesLeft;
    };
    void failIfScripted(const std::string& call);

    CallLogRef log_;
    std::map<std::u16string, std::string, std::less<>> classes_;
    std::map<std::string, ObjectRef> running_;
    std::map<std::string, Failure> failures_;
    bool refuseFilters_ = false;
    MessageFilterRef filter_;
};

}  // namespace orvane::cadlink::fake
