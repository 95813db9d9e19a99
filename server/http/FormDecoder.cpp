#include "server/http/FormDecoder.h"

namespace kelpa::server {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of name="..." in a header line, if present.
std::optional<std::string> quotedParameter(std::string_view header, std::string_view name) {
    const std::string key = std::string(name) + "=\"";
    std::size_t at = 0;
    while ((at = header.find(key, at)) != std::string_view::npos) {
        // Must start a parameter, so that name= does not match inside filename=.
        if (at == 0 || header[at - 1] == ' ' || header[at - 1] == ';') {
            const auto begin = at + key.size();
            const auto end = header.find('"', begin);
            if (end == std::string_view::npos) return std::nullopt;
            return std::string(header.substr(begin, end - begin));
        }
        at += key.size();
    }
    return std::nullopt;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

}  // namespace

std::optional<std::string> FormDecoder::percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%') {
            if (i + 2 >= text.size()) return std::nullopt;
            const int hi = hexValue(text[i + 1]), lo = hexValue(text[i + 2]);
            if (hi < 0 || lo < 0) return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<FormDecoder::Form> FormDecoder::urlEncoded(std::string_view body) {
    Form form;
    while (!body.empty()) {
        const auto amp = body.find('&');
        const std::string_view pair = body.substr(0, amp);
        body = amp == std::string_view::npos ? std::string_view{} : body.substr(amp + 1);
        if (pair.empty()) continue;
        const auto eq = pair.find('=');
        auto key = percentDecode(pair.substr(0, eq));
        auto value = percentDecode(eq == std::string_view::npos ? std::string_view{} : pair.substr(eq + 1));
        if (!key || !value || key->empty()) return std::nullopt;
        if (!form.fields.emplace(std::move(*key), std::move(*value)).second) return std::nullopt;
    }
    return form;
}

std::optional<FormDecoder::Form> FormDecoder::multipart(std::string_view contentType,
                                                        std::string_view body) {
    const auto at = lower(contentType).find("boundary=");
    if (at == std::string::npos) return std::nullopt;
    std::string boundary(contentType.substr(at + 9));
    if (auto semi = boundary.find(';'); semi != std::string::npos) boundary.resize(semi);
    if (boundary.size() >= 2 && boundary.front() == '"' && boundary.back() == '"')
        boundary = boundary.substr(1, boundary.size() - 2);
    if (boundary.empty() || boundary.size() > 200) return std::nullopt;

    const std::string delimiter = "--" + boundary;
    Form form;
    std::size_t pos = body.find(delimiter);
    if (pos == std::string_view::npos) return std::nullopt;
    for (;;) {
        pos += delimiter.size();
        if (body.substr(pos, 2) == "--") return form;  // closing delimiter
        if (body.substr(pos, 2) != "\r\n") return std::nullopt;
        pos += 2;
        const auto headersEnd = body.find("\r\n\r\n", pos);
        if (headersEnd == std::string_view::npos) return std::nullopt;
        const std::string_view headers = body.substr(pos, headersEnd - pos);
        const auto next = body.find("\r\n" + delimiter, headersEnd + 4);
        if (next == std::string_view::npos) return std::nullopt;
        const std::string_view content = body.substr(headersEnd + 4, next - headersEnd - 4);

        std::optional<std::string> name, filename;
        std::size_t lineStart = 0;
        while (lineStart <= headers.size()) {
            auto lineEnd = headers.find("\r\n", lineStart);
            if (lineEnd == std::string_view::npos) lineEnd = headers.size();
            const std::string_view line = headers.substr(lineStart, lineEnd - lineStart);
            if (lower(line.substr(0, 20)) == "content-disposition:") {
                name = quotedParameter(line, "name");
                filename = quotedParameter(line, "filename");
            }
            lineStart = lineEnd + 2;
        }
        if (!name || name->empty()) return std::nullopt;
        auto& target = filename ? form.files : form.fields;
        if (!target.emplace(*name, std::string(content)).second) return std::nullopt;
        pos = next + 2;
    }
}

}  // namespace kelpa::server
