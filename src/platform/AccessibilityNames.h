#pragma once

#include <string_view>

// The names the accessibility interface speaks in: attributes, roles, subroles, actions and
// notifications. The engine asks with them and every implementation answers to them, so each is
// spelled once, here.
namespace nimbrel::ax {

namespace attribute {
inline constexpr std::string_view kRole = "AXRole";
inline constexpr std::string_view kSubrole = "AXSubrole";
inline constexpr std::string_view kTitle = "AXTitle";
inline constexpr std::string_view kPosition = "AXPosition";
inline constexpr std::string_view kSize = "AXSize";
inline constexpr std::string_view kMinimized = "AXMinimized";
inline constexpr std::string_view kMain = "AXMain";
inline constexpr std::string_view kFocused = "AXFocused";
inline constexpr std::string_view kWindows = "AXWindows";
inline constexpr std::string_view kFocusedWindow = "AXFocusedWindow";
inline constexpr std::string_view kMainWindow = "AXMainWindow";
inline constexpr std::string_view kFocusedApplication = "AXFocusedApplication";
inline constexpr std::string_view kFrontmost = "AXFrontmost";
inline constexpr std::string_view kHidden = "AXHidden";
}  // namespace attribute

namespace role {
inline constexpr std::string_view kApplication = "AXApplication";
inline constexpr std::string_view kWindow = "AXWindow";
inline constexpr std::string_view kSystemWide = "AXSystemWide";
}  // namespace role

namespace subrole {
inline constexpr std::string_view kStandardWindow = "AXStandardWindow";
inline constexpr std::string_view kDialog = "AXDialog";
inline constexpr std::string_view kSystemDialog = "AXSystemDialog";
inline constexpr std::string_view kFloatingWindow = "AXFloatingWindow";
inline constexpr std::string_view kSheet = "AXSheet";
}  // namespace subrole

namespace action {
inline constexpr std::string_view kRaise = "AXRaise";
inline constexpr std::string_view kPress = "AXPress";
}  // namespace action

namespace notification {
inline constexpr std::string_view kWindowCreated = "AXWindowCreated";
inline constexpr std::string_view kWindowMoved = "AXWindowMoved";
inline constexpr std::string_view kWindowResized = "AXWindowResized";
inline constexpr std::string_view kWindowMiniaturized = "AXWindowMiniaturized";
inline constexpr std::string_view kWindowDeminiaturized = "AXWindowDeminiaturized";
inline constexpr std::string_view kTitleChanged = "AXTitleChanged";
inline constexpr std::string_view kFocusedWindowChanged = "AXFocusedWindowChanged";
inline constexpr std::string_view kMainWindowChanged = "AXMainWindowChanged";
inline constexpr std::string_view kElementDestroyed = "AXUIElementDestroyed";
inline constexpr std::string_view kApplicationActivated = "AXApplicationActivated";
inline constexpr std::string_view kApplicationHidden = "AXApplicationHidden";
inline constexpr std::string_view kApplicationShown = "AXApplicationShown";
}  // namespace notification

}  // namespace nimbrel::ax
