#include "files/JsonLine.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ldc {

void JsonLine::separate() {
    if (!m_first)
        m_text += ',';
    m_first = false;
}

JsonLine& JsonLine::key(std::string_view name) {
    value(name);
    m_text += ':';
    m_first = true;  // the value that follows takes no comma
    return *this;
}

JsonLine& JsonLine::open(char bracket) {
    separate();
    m_text += bracket;
    m_first = true;
    return *this;
}

JsonLine& JsonLine::close(char bracket) {
    m_text += bracket;
    m_first = false;
    return *this;
}

JsonLine& JsonLine::beginObject() {
    return open('{');
}

JsonLine& JsonLine::endObject() {
    return close('}');
}

JsonLine& JsonLine::beginArray() {
    return open('[');
}

JsonLine& JsonLine::endArray() {
    return close(']');
}

JsonLine& JsonLine::null() {
    separate();
    m_text += "null";
    return *this;
}

JsonLine& JsonLine::value(std::optional<double> number) {
    if (!number || !std::isfinite(*number))
        return null();
    separate();
    // Independent of the locale, whose separator may be a comma.
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, *number, std::chars_format::general, 17).ptr;
    m_text.append(buffer, end);
    return *this;
}

JsonLine& JsonLine::value(long long integer) {
    separate();
    m_text += std::to_string(integer);
    return *this;
}

JsonLine& JsonLine::value(bool flag) {
    separate();
    m_text += flag ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::value(std::string_view text) {
    separate();
    m_text += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_text += '\\';
            m_text += c;
        } else if (c == '\n') {
            m_text += "\\n";
        } else if (byte < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
            m_text += buffer;
        } else {
            m_text += c;
        }
    }
    m_text += '"';
    return *this;
}

}  // namespace ldc
