// What the drive map is on every host; how a letter is mapped and how the map is built from the environment
// belong to each backend.
#include "platform/drive_map.h"

namespace platform {

std::optional<std::string> DriveMap::HostFolder(char letter) const {
  auto found = roots_.find(letter);
  if (found == roots_.end()) return std::nullopt;
  return found->second;
}

std::vector<char> DriveMap::Letters() const {
  std::vector<char> letters;
  for (const auto& [letter, root] : roots_) letters.push_back(letter);
  return letters;
}

}  // namespace platform
