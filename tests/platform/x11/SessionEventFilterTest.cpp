#include "platform/x11/SessionEventFilter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace nimbrel::x11 {
namespace {

using Report = SessionEventFilter::Report;

struct FilterCase {
    const char* name;
    std::optional<bool> lockedAtStart;
    std::vector<Report> reports;
    std::vector<SystemEvent> events;
};

class SessionEventFilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(SessionEventFilterTest, ReportsBecomeEventsOnlyWhenTheyTellSomethingNew) {
    SessionEventFilter filter;
    std::vector<SystemEvent> events;
    bool first = true;
    for (Report report : GetParam().reports) {
        if (auto event = filter.take(report)) {
            events.push_back(*event);
        }
        // What the session was in at start is learnt late, after the first report.
        if (first && GetParam().lockedAtStart) {
            filter.lockedAtStart(*GetParam().lockedAtStart);
        }
        first = false;
    }
    EXPECT_EQ(events, GetParam().events);
}

const FilterCase kCases[] = {
    {"RepeatedLocksAreOneLock",
     std::nullopt,
     {Report::locked, Report::locked, Report::unlocked, Report::unlocked, Report::locked},
     {SystemEvent::screenLocked, SystemEvent::screenUnlocked, SystemEvent::screenLocked}},
    {"AnUnlockWithoutALockIsNothing", std::nullopt, {Report::unlocked}, {}},
    // The first report knows better than the start's answer that comes after it.
    {"ALateAnswerAtStartDoesNotUndoALock",
     false,
     {Report::locked, Report::unlocked},
     {SystemEvent::screenLocked, SystemEvent::screenUnlocked}},
    {"ASleepIsToldOnceUntilTheWake",
     std::nullopt,
     {Report::sleeping, Report::sleeping, Report::awake, Report::awake, Report::sleeping},
     {SystemEvent::willSleep, SystemEvent::willSleep}},
    {"ACancelledPowerOffCanComeAgain",
     std::nullopt,
     {Report::poweringOff, Report::poweringOff, Report::powerOffCancelled, Report::poweringOff},
     {SystemEvent::willPowerOff, SystemEvent::willPowerOff}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SessionEventFilterTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FilterCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SessionEventFilterStartTest, ASessionLockedAtStartIsUnlockedOnceAndNotLockedAgain) {
    SessionEventFilter filter;
    filter.lockedAtStart(true);
    EXPECT_EQ(filter.take(Report::locked), std::nullopt);
    EXPECT_EQ(filter.take(Report::unlocked), SystemEvent::screenUnlocked);
}

}  // namespace
}  // namespace nimbrel::x11
