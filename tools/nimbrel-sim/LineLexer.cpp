#include "LineLexer.h"

#include "ConsoleError.h"

namespace nimbrel::console {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string LexedLine::rest(std::size_t index) const {
    if (index >= words.size()) {
        return {};
    }
    std::string text = raw.substr(words[index].begin);
    while (!text.empty() && isSpace(text.back())) {
        text.pop_back();
    }
    return text;
}

LexedLine lexLine(const std::string& raw) {
    LexedLine line;
    line.raw = raw;
    std::size_t i = 0;
    const std::size_t n = raw.size();
    while (true) {
        while (i < n && isSpace(raw[i])) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        if (line.words.empty() && raw[i] == '#') {
            break;
        }
        Word word;
        word.begin = i;
        while (i < n && !isSpace(raw[i])) {
            char c = raw[i];
            if (c == '"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    if (raw[i] == '\\' && i + 1 < n && (raw[i + 1] == '"' || raw[i + 1] == '\\')) {
                        word.text += raw[i + 1];
                        i += 2;
                    } else if (raw[i] == '"') {
                        ++i;
                        closed = true;
                        break;
                    } else {
                        word.text += raw[i++];
                    }
                }
                if (!closed) {
                    throw ConsoleError("unclosed quote");
                }
            } else if (c == '[') {
                int depth = 0;
                bool closed = false;
                while (i < n) {
                    char d = raw[i++];
                    word.text += d;
                    if (d == '[') {
                        ++depth;
                    } else if (d == ']' && --depth == 0) {
                        closed = true;
                        break;
                    }
                }
                if (!closed) {
                    throw ConsoleError("unclosed [");
                }
            } else {
                word.text += c;
                ++i;
            }
        }
        line.words.push_back(std::move(word));
    }
    return line;
}

}  // namespace nimbrel::console
