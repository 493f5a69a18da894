#include "codegen/identifier.h"

std::string MakeIdentifier(std::string_view fileName) {
  std::string identifier(fileName);
  for (char& c : identifier) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
      c = '_';
  }
  if (identifier.empty() || !(identifier[0] >= 'a' && identifier[0] <= 'z'))
    identifier.insert(identifier.begin(), '_');
  return identifier;
}
