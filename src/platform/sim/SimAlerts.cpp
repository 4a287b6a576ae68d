#include "platform/sim/SimAlerts.h"

#include <algorithm>
#include <utility>

#include "platform/sim/SimEventLog.h"

namespace nimbrel::sim {
namespace {

// List items print as the console prints values: quoted when they hold spaces or quotes.
std::string listItem(const std::string& text) {
    if (!text.empty() && text.find_first_of(" \"") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

}  // namespace

void SimAlerts::queueAnswer(std::string button, std::vector<std::string> texts) {
    answers_.push_back(Answer{std::move(button), std::move(texts)});
}

std::string SimAlerts::eventLine(const AlertRequest& request) {
    std::string buttons;
    for (const auto& button : request.buttons) {
        if (!buttons.empty()) {
            buttons += ' ';
        }
        buttons += listItem(button);
    }
    return "alert " + request.title + " | " + request.message + " | [" + buttons + "]";
}

AlertResponse SimAlerts::runModal(const AlertRequest& request) {
    shown_.push_back(request);
    events_.emit(eventLine(request));
    AlertResponse response;
    for (const auto& field : request.fields) {
        response.texts.push_back(field.text);
    }
    if (answers_.empty()) {
        return response;
    }
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    auto it = std::find(request.buttons.begin(), request.buttons.end(), answer.button);
    if (it == request.buttons.end()) {
        return response;
    }
    response.button = static_cast<std::size_t>(it - request.buttons.begin());
    for (std::size_t i = 0; i < answer.texts.size() && i < response.texts.size(); ++i) {
        response.texts[i] = std::move(answer.texts[i]);
    }
    return response;
}

}  // namespace nimbrel::sim
