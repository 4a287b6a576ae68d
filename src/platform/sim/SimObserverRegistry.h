#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/Accessibility.h"
#include "platform/MainLoop.h"

namespace nimbrel::sim {

// The accessibility observers of the program: one per process id, each with its own set of
// (element, notification) registrations. A notification reaches an observer only through a
// registration for exactly that element and name, and only while the observer and the
// registration both still exist when the main loop delivers it.
class SimObserverRegistry {
  public:
    explicit SimObserverRegistry(MainLoop& loop) : loop_(loop) {}
    SimObserverRegistry(const SimObserverRegistry&) = delete;
    SimObserverRegistry& operator=(const SimObserverRegistry&) = delete;

    ObserverRef create(Pid pid, AXObserverCallback callback);
    bool exists(ObserverRef observer) const { return observers_.count(observer.id) != 0; }
    Pid pidOf(ObserverRef observer) const;
    // False when the pair was already registered (it stays registered).
    bool add(ObserverRef observer, ElementRef element, const std::string& notification);
    // False when the pair was not registered.
    bool remove(ObserverRef observer, ElementRef element, const std::string& notification);
    void destroy(ObserverRef observer) { observers_.erase(observer.id); }
    void clear() { observers_.clear(); }

    // Queues the notification for every observer registered for (registeredOn, notification); the
    // callback receives `about` (the window a focus change is about, or registeredOn itself).
    void post(ElementRef registeredOn, const std::string& notification, ElementRef about);

    std::size_t observerCount() const { return observers_.size(); }
    bool isRegistered(ElementRef element, const std::string& notification) const;

  private:
    using Key = std::pair<std::uint64_t, std::string>;
    struct Observer {
        Pid pid = 0;
        AXObserverCallback callback;
        std::set<Key> registrations;
    };
    MainLoop& loop_;
    std::uint64_t nextId_ = 1;
    std::map<std::uint64_t, Observer> observers_;
};

}  // namespace nimbrel::sim
