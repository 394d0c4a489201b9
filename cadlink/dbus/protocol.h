#pragma once

// Names of the automation protocol on the session bus.
namespace orvane::cadlink::dbus::protocol {

inline constexpr char automationInterface[] = "org.orvane.Automation";
inline constexpr char applicationPath[] = "/Application";
inline constexpr char retryLaterError[] = "org.orvane.Automation.Error.RetryLater";
inline constexpr char rejectedError[] = "org.orvane.Automation.Error.Rejected";

inline constexpr char propertiesInterface[] = "org.freedesktop.DBus.Properties";
inline constexpr char unknownMethodError[] = "org.freedesktop.DBus.Error.UnknownMethod";

// Reject types as a message filter knows them.
inline constexpr unsigned rejectTypeRejected = 1;
inline constexpr unsigned rejectTypeRetryLater = 2;

}  // namespace orvane::cadlink::dbus::protocol
