// The objects a level places and their type codes: 0 a crate platform,
// 1..5 a blob whose style the designer counts 1..5 (the game's blob of type
// code k has style k-1 and starts with control index k-1, so blob 1 is the
// one under control at the start).
#pragma once

#include <optional>
#include <string>

#include "shell/object.h"

// "crate", "blob 3", or "unknown type code 9".
std::string kind_name(int type);

bool is_known_type(int type);

// The type code of a named kind: "crate" or "platform" without a style,
// "blob" with style 1..5. Otherwise returns nothing and says why.
std::optional<int> type_of_kind(const std::string& kind, std::optional<long long> style,
                                std::string& why);
