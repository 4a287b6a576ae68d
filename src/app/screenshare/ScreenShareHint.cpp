#include "app/screenshare/ScreenShareHint.h"

#include <vector>

namespace nimbrel {
namespace {

// Built once for each folding, on first use.
const std::vector<CaselessText>& preparedPhrases(CaseFolding folding) {
    auto prepare = [](CaseFolding f) {
        std::vector<CaselessText> prepared;
        for (std::string_view phrase : ScreenShareHint::phrases()) {
            prepared.emplace_back(phrase, f);
        }
        return prepared;
    };
    static const std::vector<CaselessText> standard = prepare(CaseFolding::standard);
    static const std::vector<CaselessText> turkic = prepare(CaseFolding::turkic);
    return folding == CaseFolding::turkic ? turkic : standard;
}

}  // namespace

const std::unordered_set<std::string>& ScreenShareHint::meetingApps() {
    static const std::unordered_set<std::string> apps{
        "us.zoom.xos",         "com.microsoft.teams2",      "com.microsoft.teams",
        "Cisco-Systems.Spark", "com.tinyspeck.slackmacgap", "com.hnc.Discord"};
    return apps;
}

const std::array<std::string_view, ScreenShareHint::kPhraseCount>& ScreenShareHint::phrases() {
    static constexpr std::array<std::string_view, kPhraseCount> list{
        "share toolbar",
        "share statusbar",
        "sharing control bar",
        "sharing toolbar",
        "is sharing your screen",
        "sharing your screen",
        "you are sharing",
        "you're sharing",
        "is being shared",
        "stop sharing",
        "stop share",
        "화면을 공유하고 있습니다",
        "화면을 공유하는 중",
        "화면 공유 중",
        "공유 중지",
        "공유를 중지",
        "画面を共有しています",
        "画面共有中",
        "共有を停止",
        "正在共享",
        "停止共享",
        "Freigabe beenden",
        "Teilen beenden",
        "Bildschirm wird geteilt",
        "Arrêter le partage",
        "Vous partagez",
        "partage votre écran",
        "Dejar de compartir",
        "Estás compartiendo",
        "compartiendo tu pantalla",
    };
    return list;
}

bool ScreenShareHint::matches(std::string_view title, CaseFolding folding) {
    return matches(CaselessText(title, folding), folding);
}

bool ScreenShareHint::matches(const CaselessText& title, CaseFolding folding) {
    for (const CaselessText& phrase : preparedPhrases(folding)) {
        if (title.contains(phrase)) {
            return true;
        }
    }
    return false;
}

}  // namespace nimbrel
