// The password check on its thread of its own, with real PAM through PAM's test wrapper.
#include "platform/x11/PamWorker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "../PamServices.h"
#include "../PrivateFolder.h"
#include "platform/x11/PamVerifier.h"

namespace nimbrel::test {
namespace {

using x11::PamVerifier;
using x11::PamWorker;
using x11::SecretBytes;

SecretBytes secretOf(const std::string& text) {
    return SecretBytes(text.data(), text.size());
}

// The services, written once for the process: the wrapper reads its folder at the first call.
class PamWrapperEnvironment final : public testing::Environment {
  public:
    void SetUp() override { services_.use(); }
    PrivateFolder folder_;
    PamServices services_{folder_ / "services"};
};
const auto* const pamEnvironment = testing::AddGlobalTestEnvironment(new PamWrapperEnvironment);

struct VerifyCase {
    const char* name;
    const char* service;
    bool ownAccount;
    const char* password;
    AuthOutcome expected;
};

class PamVerifierTest : public testing::TestWithParam<VerifyCase> {};

TEST_P(PamVerifierTest, TheServiceDecides) {
    ASSERT_TRUE(PamServices::wrapperPreloaded()) << "run with LD_PRELOAD=libpam_wrapper.so";
    const VerifyCase& c = GetParam();
    std::string user = c.ownAccount ? PamVerifier::currentUser().value() : "no-such-account-x";
    PamVerifier verifier(c.service, user);
    EXPECT_EQ(verifier.verify(secretOf(c.password)), c.expected);
}

// A failure of PAM is never a success, and never mistaken for a wrong password either.
const VerifyCase kVerifyCases[] = {
    {"RightPassword", "nimbrel", true, PamServices::kPamPassword, AuthOutcome::success},
    {"WrongPassword", "nimbrel", true, "correct horse ", AuthOutcome::authenticationFailed},
    {"EmptyPassword", "nimbrel", true, "", AuthOutcome::authenticationFailed},
    {"ServiceRefusesEveryone", "nimbrel-refuses", true, PamServices::kPamPassword,
     AuthOutcome::authenticationFailed},
    {"AccountRefusedAfterTheRightPassword", "nimbrel-account-refused", true,
     PamServices::kPamPassword, AuthOutcome::authenticationFailed},
    {"ModuleThatDoesNotLoad", "nimbrel-broken", true, PamServices::kPamPassword,
     AuthOutcome::notAvailable},
    {"NoSuchServiceAndNoOther", "nimbrel-missing", true, PamServices::kPamPassword,
     AuthOutcome::notAvailable},
    {"PromptTheConversationCannotAnswer", "nimbrel-asks-more", true, PamServices::kPamPassword,
     AuthOutcome::notAvailable},
    {"NoSuchUser", "nimbrel-unix", false, PamServices::kPamPassword, AuthOutcome::notAvailable},
};
INSTANTIATE_TEST_SUITE_P(Services, PamVerifierTest, testing::ValuesIn(kVerifyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Replies as they arrive, from whatever thread brings them.
class Replies {
  public:
    AuthReply recorder(int job) {
        return [this, job](AuthOutcome outcome) {
            std::lock_guard<std::mutex> lock(mutex_);
            got_.push_back({job, outcome, std::this_thread::get_id()});
            changed_.notify_all();
        };
    }
    struct Reply {
        int job;
        AuthOutcome outcome;
        std::thread::id thread;
    };
    std::vector<Reply> waitFor(std::size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        // Generous: a check is quick, this only keeps a broken worker from hanging the suite.
        changed_.wait_for(lock, std::chrono::seconds(30), [&] { return got_.size() >= count; });
        return got_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Reply> got_;
};

TEST(PamWorkerTest, ChecksRunInOrderOffTheSubmittingThreadAndEachAnswersOnce) {
    Replies replies;
    std::mutex seenMutex;
    std::vector<std::string> seen;
    // The checks wait until all three are queued: otherwise the second one's reply could ask
    // again before the third is submitted, and the order would be the machine's, not the queue's.
    std::promise<void> queued;
    std::shared_future<void> allQueued = queued.get_future().share();
    {
        PamWorker worker([&](const SecretBytes& password) {
            allQueued.wait();
            std::lock_guard<std::mutex> lock(seenMutex);
            seen.emplace_back(password.data(), password.size());
            return seen.back() == "right" ? AuthOutcome::success
                                          : AuthOutcome::authenticationFailed;
        });
        worker.submit(secretOf("wrong"), replies.recorder(1));
        // A reply that asks again at once, from the worker's own thread.
        worker.submit(secretOf("right"), [&worker, &replies](AuthOutcome outcome) {
            replies.recorder(2)(outcome);
            worker.submit(secretOf("again"), replies.recorder(4));
        });
        worker.submit(secretOf(std::string("with\0nul", 8)), replies.recorder(3));
        queued.set_value();
        auto got = replies.waitFor(4);
        ASSERT_EQ(got.size(), 4u);
        const std::pair<int, AuthOutcome> expected[] = {{1, AuthOutcome::authenticationFailed},
                                                        {2, AuthOutcome::success},
                                                        {3, AuthOutcome::authenticationFailed},
                                                        {4, AuthOutcome::authenticationFailed}};
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].job, expected[i].first);
            EXPECT_EQ(got[i].outcome, expected[i].second);
            EXPECT_NE(got[i].thread, std::this_thread::get_id());
        }
    }
    std::lock_guard<std::mutex> lock(seenMutex);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"wrong", "right", std::string("with\0nul", 8), "again"}));
}

TEST(PamWorkerTest, AWorkerDestroyedWithChecksWaitingAnswersEveryOneOnce) {
    Replies replies;
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::thread releaser;
    {
        bool first = true;
        PamWorker worker([&](const SecretBytes&) {
            if (std::exchange(first, false)) {
                started.set_value();
                released.wait();
            }
            return AuthOutcome::success;
        });
        for (int job = 1; job <= 3; ++job) {
            worker.submit(secretOf("x"), replies.recorder(job));
        }
        started.get_future().wait();
        // The check under way ends only once the worker is already going away.
        releaser = std::thread([&release] { release.set_value(); });
    }
    releaser.join();
    auto got = replies.waitFor(3);
    ASSERT_EQ(got.size(), 3u);
    std::map<int, AuthOutcome> byJob;
    for (const auto& reply : got) {
        EXPECT_TRUE(byJob.emplace(reply.job, reply.outcome).second) << "job " << reply.job;
    }
    EXPECT_EQ(byJob[1], AuthOutcome::success);
    for (int job : {2, 3}) {
        EXPECT_TRUE(byJob[job] == AuthOutcome::success || byJob[job] == AuthOutcome::systemCancel)
            << "job " << job;
    }
}

TEST(PamWorkerTest, RealPamChecksOnTheWorkerKeepTheirOutcomes) {
    ASSERT_TRUE(PamServices::wrapperPreloaded()) << "run with LD_PRELOAD=libpam_wrapper.so";
    Replies replies;
    PamVerifier verifier("nimbrel", PamVerifier::currentUser().value());
    PamWorker worker(
        [&verifier](const SecretBytes& password) { return verifier.verify(password); });
    worker.submit(secretOf("guess"), replies.recorder(1));
    worker.submit(secretOf(PamServices::kPamPassword), replies.recorder(2));
    auto got = replies.waitFor(2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].outcome, AuthOutcome::authenticationFailed);
    EXPECT_EQ(got[1].outcome, AuthOutcome::success);
}

}  // namespace
}  // namespace nimbrel::test
