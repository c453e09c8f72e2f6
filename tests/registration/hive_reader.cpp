#include "tests/registration/hive_reader.h"

#include <fstream>
#include <sstream>

#include "platform/registry/reg_text.h"
#include "platform/registry/registry.h"

using platform::registry::KeyPath;
using platform::registry::RegKey;
using platform::registry::RegValue;

HiveSnapshot::HiveSnapshot(const std::string& registryDir, const std::string& hiveName) {
  std::ifstream in(registryDir + "/" + hiveName + ".reg", std::ios::binary);
  if (!in) return;
  std::stringstream text;
  text << in.rdbuf();
  platform::registry::ParseReport report;
  root_ = platform::registry::ParseHiveText(text.str(), hiveName, &report);
  damaged_ = report.Damaged();
}

const RegKey* HiveSnapshot::Find(const std::string& path) const {
  KeyPath parts;
  if (!platform::registry::SplitKeyPath(path, &parts)) return nullptr;
  const RegKey* key = &root_;
  for (const std::string& part : parts) {
    key = key->Child(part);
    if (!key) return nullptr;
  }
  return key;
}

bool HiveSnapshot::HasKey(const std::string& path) const { return Find(path) != nullptr; }

std::optional<std::string> HiveSnapshot::Text(const std::string& path, const std::string& value) const {
  const RegKey* key = Find(path);
  if (!key) return std::nullopt;
  const RegValue* v = key->Value(value);
  if (!v || v->type != REG_SZ) return std::nullopt;
  return v->data;
}

std::optional<uint32_t> HiveSnapshot::Dword(const std::string& path, const std::string& value) const {
  const RegKey* key = Find(path);
  if (!key) return std::nullopt;
  const RegValue* v = key->Value(value);
  if (!v || v->type != REG_DWORD || v->data.size() != 4) return std::nullopt;
  const auto* b = reinterpret_cast<const unsigned char*>(v->data.data());
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
         (static_cast<uint32_t>(b[3]) << 24);
}

int HiveSnapshot::ValueCount(const std::string& path) const {
  const RegKey* key = Find(path);
  return key ? static_cast<int>(key->values.size()) : -1;
}

namespace {
void Collect(const RegKey& key, const std::string& prefix, std::vector<std::string>& out) {
  for (const auto& [folded, child] : key.children) {
    const std::string path = prefix.empty() ? child.name : prefix + "\\" + child.name;
    out.push_back(path);
    Collect(child, path, out);
  }
}
}  // namespace

std::vector<std::string> HiveSnapshot::AllKeys() const {
  std::vector<std::string> out;
  Collect(root_, "", out);
  return out;
}
