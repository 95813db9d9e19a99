#include "server/WordList.h"

#include <sodium.h>

#include <algorithm>

namespace kelpa::server {

const WordList& WordList::shared() {
    static const WordList list(embedded);
    return list;
}

WordList::WordList(std::string_view text) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string word = normalise(text.substr(0, end));
        if (!word.empty()) words_.push_back(word);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    std::sort(words_.begin(), words_.end());
    words_.erase(std::unique(words_.begin(), words_.end()), words_.end());
}

std::pair<std::string, std::string> WordList::randomPair() const {
    const auto n = static_cast<std::uint32_t>(words_.size());
    const auto a = randombytes_uniform(n);
    auto b = randombytes_uniform(n - 1);
    if (b >= a) ++b;  // two different words
    return {words_[a], words_[b]};
}

std::string WordList::normalise(std::string_view word) {
    while (!word.empty() && (word.front() == ' ' || word.front() == '\t' || word.front() == '\r'))
        word.remove_prefix(1);
    while (!word.empty() && (word.back() == ' ' || word.back() == '\t' || word.back() == '\r'))
        word.remove_suffix(1);
    std::string out(word);
    for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

}  // namespace kelpa::server
