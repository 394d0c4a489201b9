#include "cadlink/cadguard.h"

#include <utility>

namespace orvane::cadlink {
namespace {

class AttachedSession final : public orvane::CadSession {
public:
    AttachedSession(const CadConnection& connection, ObjectRef application)
        : connection_(connection), application_(std::move(application)) {}

    void BringCADToFront() override { connection_.BringCADToFront(application_); }

    void SendCADCommand(std::u16string_view text) override {
        connection_.SendCADCommand(application_, text);
    }

    std::u16string ReadTextMember(std::u16string_view member) override {
        return variantToText(connection_.CallCADMember(application_, member, std::nullopt, true));
    }

private:
    const CadConnection& connection_;
    ObjectRef application_;
};

}  // namespace

void CadGuard::runGuarded(const std::function<void(CadSession&)>& steps) {
    try {
        if (!connection_.IsTargetCADRunning()) {
            return;
        }
        AttachedSession session(connection_, connection_.AttachTargetCAD());
        steps(session);
    } catch (...) {
        // Every failure is dropped here: the user sees nothing, and
        // whatever the steps already did to the CAD stays done.
    }
}

}  // namespace orvane::cadlink
