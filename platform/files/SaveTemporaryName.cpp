// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveTemporaryName.h"

#include <mutex>
#include <random>

namespace SaveTemporaryName {

namespace {

constexpr std::string_view prefix = ".jt65a-";
constexpr std::string_view suffix = ".tmp";
constexpr std::size_t randomLength = 10;
constexpr std::string_view alphabet = "abcdefghijklmnopqrstuvwxyz0123456789";

} // namespace

std::string make()
{
    static std::mutex mutex;
    static std::mt19937_64 generator{std::random_device{}()};
    const std::lock_guard lock(mutex);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string name(prefix);
    for (std::size_t i = 0; i < randomLength; ++i)
        name.push_back(alphabet[pick(generator)]);
    name.append(suffix);
    return name;
}

std::string pattern()
{
    return std::string(prefix) + "*" + std::string(suffix);
}

bool isOne(std::string_view name)
{
    if (name.size() != prefix.size() + randomLength + suffix.size() || !name.starts_with(prefix)
        || !name.ends_with(suffix))
        return false;
    const std::string_view middle = name.substr(prefix.size(), randomLength);
    return middle.find_first_not_of(alphabet) == std::string_view::npos;
}

} // namespace SaveTemporaryName
