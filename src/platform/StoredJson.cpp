#include "platform/StoredJson.h"

namespace nimbrel {

std::optional<Json> parseStoredJson(std::string_view bytes) {
    bool tooDeep = false;
    // The parser itself keeps its own stack; refusing every value from the first level too deep
    // on means the deep part is scanned but never stored, so no recursion follows.
    auto refuseDeep = [&tooDeep](int depth, Json::parse_event_t event, Json&) {
        if ((event == Json::parse_event_t::object_start ||
             event == Json::parse_event_t::array_start) &&
            depth >= kStoredJsonMaxDepth) {
            tooDeep = true;
        }
        return !tooDeep;
    };
    Json json = Json::parse(bytes, refuseDeep, false);
    if (tooDeep || json.is_discarded()) {
        return std::nullopt;
    }
    return json;
}

}  // namespace nimbrel
