#include "object_kind.h"

std::string kind_name(int type) {
  if (type == TYPE_PLATFORM) return "crate";
  if (type >= TYPE_BLOB_FIRST && type <= TYPE_BLOB_LAST) return "blob " + std::to_string(type);
  return "unknown type code " + std::to_string(type);
}

bool is_known_type(int type) { return type >= TYPE_PLATFORM && type <= TYPE_BLOB_LAST; }

std::optional<int> type_of_kind(const std::string& kind, std::optional<long long> style,
                                std::string& why) {
  if (kind == "crate" || kind == "platform") {
    if (!style) return TYPE_PLATFORM;
    why = "a crate has no style";
    return std::nullopt;
  }
  if (kind == "blob") {
    if (style && *style >= TYPE_BLOB_FIRST && *style <= TYPE_BLOB_LAST)
      return static_cast<int>(*style);
    why = !style ? "a blob needs a style 1..5"
                 : "blob style " + std::to_string(*style) + " is not one of 1..5";
    return std::nullopt;
  }
  why = "\"" + kind + "\" is not a kind of object a level holds (crate, platform or blob)";
  return std::nullopt;
}
