#pragma once

#include "platform/Accessibility.h"
#include "platform/Alerts.h"
#include "platform/AppPresenceSource.h"
#include "platform/Application.h"
#include "platform/DockMenu.h"
#include "platform/EventSource.h"
#include "platform/HotKeyService.h"
#include "platform/KeyEventMonitor.h"
#include "platform/KeyboardLayout.h"
#include "platform/Keychain.h"
#include "platform/LocalAuthentication.h"
#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/LoginItem.h"
#include "platform/MainLoop.h"
#include "platform/Panels.h"
#include "platform/Screens.h"
#include "platform/Sound.h"
#include "platform/StatusBar.h"
#include "platform/SystemNotifications.h"
#include "platform/SystemSettings.h"
#include "platform/TextMetrics.h"
#include "platform/UserDefaults.h"
#include "platform/WindowList.h"
#include "platform/Workspace.h"

namespace nimbrel {

// Every platform service the program uses, chosen once by the process entry. Components take the
// few services they need in their constructors; only the entry and the delegate see this whole.
struct Platform {
    Accessibility& accessibility;
    Workspace& workspace;
    Application& application;
    SystemNotifications& notifications;
    Screens& screens;
    WindowList& windowList;
    EventSource& eventSource;
    UserDefaults& defaults;
    MainLoop& loop;
    Sound& sound;
    Log& log;
    Localizer& strings;
    HotKeyService& hotKeys;
    KeyEventMonitor& keyMonitor;
    KeyboardLayout& keyboardLayout;
    AppPresenceSource& appPresence;
    Keychain& keychain;
    LocalAuthentication& localAuthentication;
    Alerts& alerts;
    Panels& panels;
    TextMetrics& textMetrics;
    StatusBar& statusBar;
    DockMenu& dockMenu;
    LoginItem& loginItem;
    SystemSettings& systemSettings;
};

}  // namespace nimbrel
