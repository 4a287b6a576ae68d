#include "platform/x11/PamVerifier.h"

#include <pwd.h>
#include <security/pam_appl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace nimbrel::x11 {
namespace {

struct PamConversationState {
    const SecretBytes* password = nullptr;
    bool answered = false;
};

void dropPamResponses(pam_response* responses, int count) {
    for (int i = 0; i < count; ++i) {
        if (responses[i].resp != nullptr) {
            SecretBytes::overwrite(responses[i].resp, std::strlen(responses[i].resp));
            std::free(responses[i].resp);
        }
    }
    std::free(responses);
}

// PAM's questions, answered without the user: the password typed into the dialog for the first
// hidden prompt. A second hidden prompt (a new password, a one-time code) or a visible one asks
// for something the dialog never collected, so the conversation fails and PAM reports it.
int answerPamPrompts(int count, const pam_message** messages, pam_response** responses,
                     void* data) {
    if (count <= 0 || messages == nullptr || responses == nullptr || data == nullptr) {
        return PAM_CONV_ERR;
    }
    auto& state = *static_cast<PamConversationState*>(data);
    auto* answers = static_cast<pam_response*>(std::calloc(count, sizeof(pam_response)));
    if (answers == nullptr) {
        return PAM_BUF_ERR;
    }
    for (int i = 0; i < count; ++i) {
        switch (messages[i]->msg_style) {
            case PAM_PROMPT_ECHO_OFF:
                if (state.answered) {
                    dropPamResponses(answers, count);
                    return PAM_CONV_ERR;
                }
                answers[i].resp = state.password->mallocCopy();
                if (answers[i].resp == nullptr) {
                    dropPamResponses(answers, count);
                    return PAM_BUF_ERR;
                }
                state.answered = true;
                break;
            case PAM_ERROR_MSG:
            case PAM_TEXT_INFO:
                // The outcome says what the program needs; the modules' own texts are not shown.
                break;
            default:
                dropPamResponses(answers, count);
                return PAM_CONV_ERR;
        }
    }
    *responses = answers;
    return PAM_SUCCESS;
}

AuthOutcome authenticationOutcome(int result) {
    switch (result) {
        case PAM_SUCCESS:
            return AuthOutcome::success;
        case PAM_AUTH_ERR:
        case PAM_MAXTRIES:
            return AuthOutcome::authenticationFailed;
        default:
            return AuthOutcome::notAvailable;
    }
}

// The password was right, but the account may not be used now: expired, locked by policy, or
// due for a new password, which the dialog cannot take.
AuthOutcome accountOutcome(int result) {
    switch (result) {
        case PAM_SUCCESS:
            return AuthOutcome::success;
        case PAM_ACCT_EXPIRED:
        case PAM_PERM_DENIED:
        case PAM_AUTH_ERR:
        case PAM_NEW_AUTHTOK_REQD:
            return AuthOutcome::authenticationFailed;
        default:
            return AuthOutcome::notAvailable;
    }
}

}  // namespace

AuthOutcome PamVerifier::verify(const SecretBytes& password) const {
    PamConversationState state{&password, false};
    const pam_conv conversation{&answerPamPrompts, &state};
    pam_handle_t* handle = nullptr;
    int result = ::pam_start(service_.c_str(), user_.c_str(), &conversation, &handle);
    if (result != PAM_SUCCESS) {
        if (handle != nullptr) {
            ::pam_end(handle, result);
        }
        return AuthOutcome::notAvailable;
    }
    result = ::pam_authenticate(handle, 0);
    AuthOutcome outcome = authenticationOutcome(result);
    if (outcome == AuthOutcome::success) {
        result = ::pam_acct_mgmt(handle, 0);
        outcome = accountOutcome(result);
    }
    ::pam_end(handle, result);
    return outcome;
}

std::optional<std::string> PamVerifier::currentUser() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_name == nullptr || *found->pw_name == '\0') {
        return std::nullopt;
    }
    return std::string(found->pw_name);
}

}  // namespace nimbrel::x11
