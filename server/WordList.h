#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelpa::server {

// The common English words a group's two secret words are drawn from.
class WordList {
public:
    static const char* const embedded;  // one word per line, generated from words.txt

    static const WordList& shared();
    explicit WordList(std::string_view text);

    std::size_t size() const { return words_.size(); }
    std::pair<std::string, std::string> randomPair() const;
    // How typed words are compared: trimmed, lower case.
    static std::string normalise(std::string_view word);

private:
    std::vector<std::string> words_;
};

}  // namespace kelpa::server
