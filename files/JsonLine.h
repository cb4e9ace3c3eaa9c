#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ldc {

// One JSON object on one line, written as it is built. Numbers carry 17 significant
// digits, enough to read back the same double; a value that is not finite is written as
// null, which JSON has in its place. Strings are escaped; UTF-8 text passes through.
class JsonLine {
public:
    JsonLine& key(std::string_view name);
    JsonLine& beginObject();
    JsonLine& endObject();
    JsonLine& beginArray();
    JsonLine& endArray();
    JsonLine& null();
    JsonLine& value(std::optional<double> number);
    JsonLine& value(long long integer);
    JsonLine& value(bool flag);
    JsonLine& value(std::string_view text);

    const std::string& text() const { return m_text; }

private:
    void separate();
    JsonLine& open(char bracket);
    JsonLine& close(char bracket);

    std::string m_text;
    bool m_first = true;  // no value yet in the innermost object or array
};

}  // namespace ldc
