#include "platform/registry/key_tree.h"

#include <QString>

namespace platform::registry {

namespace {

bool IsAscii(std::string_view s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return false;
  }
  return true;
}

std::string FoldAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

std::string FoldName(std::string_view name) {
  if (IsAscii(name)) return FoldAscii(name);
  const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  const QByteArray back = text.toUtf8();
  if (std::string_view(back.constData(), static_cast<size_t>(back.size())) != name) return FoldAscii(name);
  const QByteArray folded = text.toCaseFolded().toUtf8();
  return std::string(folded.constData(), static_cast<size_t>(folded.size()));
}

RegKey* RegKey::Child(std::string_view childName) {
  auto it = children.find(FoldName(childName));
  return it == children.end() ? nullptr : &it->second;
}

const RegKey* RegKey::Child(std::string_view childName) const {
  auto it = children.find(FoldName(childName));
  return it == children.end() ? nullptr : &it->second;
}

RegKey& RegKey::ChildOrAdd(std::string_view childName, bool* created) {
  auto [it, inserted] = children.try_emplace(FoldName(childName));
  if (inserted) it->second.name = std::string(childName);
  if (created) *created = inserted;
  return it->second;
}

const RegValue* RegKey::Value(std::string_view valueName) const {
  auto it = values.find(FoldName(valueName));
  return it == values.end() ? nullptr : &it->second;
}

void RegKey::SetValue(std::string_view valueName, uint32_t type, std::string data) {
  auto [it, inserted] = values.try_emplace(FoldName(valueName));
  if (inserted) it->second.name = std::string(valueName);
  it->second.type = type;
  it->second.data = std::move(data);
}

bool RegKey::DeleteValue(std::string_view valueName) { return values.erase(FoldName(valueName)) > 0; }

bool SplitKeyPath(std::string_view text, KeyPath* out) {
  out->clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\\', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view part = text.substr(start, end - start);
    if (!part.empty()) {
      if (part.size() > kMaxKeyNameLength) return false;
      if (part.find_first_of("\r\n") != std::string_view::npos) return false;
      if (out->size() >= kMaxKeyDepth) return false;
      out->emplace_back(part);
    }
    start = end + 1;
  }
  return true;
}

RegKey* FindKey(RegKey& root, const KeyPath& path) {
  RegKey* key = &root;
  for (const std::string& part : path) {
    key = key->Child(part);
    if (!key) return nullptr;
  }
  return key;
}

bool IsValidValueName(std::string_view name) {
  return name.size() <= kMaxValueNameLength && name.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace platform::registry
