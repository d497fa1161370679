#include "PropertyStream.h"

#include <cstdint>

#include "Exceptions.h"

namespace fw {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

void PutUInt32(std::string& out, uint32_t v) {
  out += char((v >> 24) & 0xFF);
  out += char((v >> 16) & 0xFF);
  out += char((v >> 8) & 0xFF);
  out += char(v & 0xFF);
}

// Reads a stream front to back; every read checks that the bytes are there.
class Reader {
 public:
  explicit Reader(const std::string& s) : s_(s) {}
  bool AtEnd() const { return pos_ == s_.size(); }

  std::string Name() {
    size_t blank = s_.find(' ', pos_);
    if (blank == std::string::npos) throw RuntimeException("PropertyStream: stream ends inside a property name");
    std::string name = s_.substr(pos_, blank - pos_);
    if (name.empty()) throw RuntimeException("PropertyStream: empty property name at byte " + std::to_string(pos_));
    pos_ = blank + 1;
    return name;
  }

  std::string Bytes(size_t n, const std::string& what) {
    if (s_.size() - pos_ < n) throw RuntimeException("PropertyStream: stream ends inside the value of " + what);
    std::string bytes = s_.substr(pos_, n);
    pos_ += n;
    return bytes;
  }

  uint32_t UInt32(const std::string& what) {
    std::string b = Bytes(4, what);
    return (uint32_t(uint8_t(b[0])) << 24) | (uint32_t(uint8_t(b[1])) << 16) | (uint32_t(uint8_t(b[2])) << 8) |
           uint32_t(uint8_t(b[3]));
  }

 private:
  const std::string& s_;
  size_t pos_ = 0;
};

const PropertyDecl& Find(const PropertyTable& table, const std::string& name) {
  for (const PropertyDecl& decl : table) {
    if (SameName(decl.name, name)) return decl;
  }
  throw RuntimeException("PropertyStream: unknown property " + name);
}

PropertyValue ReadValue(Reader& in, const PropertyDecl& decl) {
  switch (decl.type) {
    case PropertyType::Boolean:
      return in.Bytes(1, decl.name)[0] != 0;
    case PropertyType::Int32:
      return int32_t(in.UInt32(decl.name));
    case PropertyType::Color: {
      std::string rgb = in.Bytes(3, decl.name);
      return Color::FromRGB(uint8_t(rgb[0]), uint8_t(rgb[1]), uint8_t(rgb[2]));
    }
    case PropertyType::String: {
      uint32_t n = in.UInt32(decl.name);
      return in.Bytes(n, decl.name);
    }
  }
  throw RuntimeException("PropertyStream: property " + decl.name + " has no stored type");
}

struct Decoded {
  const PropertyDecl* decl;
  PropertyRecord record;
};

std::vector<Decoded> Decode(const std::string& stream, const PropertyTable& table) {
  std::vector<Decoded> out;
  Reader in(stream);
  while (!in.AtEnd()) {
    std::string name = in.Name();
    const PropertyDecl& decl = Find(table, name);
    PropertyValue value = ReadValue(in, decl);
    out.push_back({&decl, {std::move(name), std::move(value)}});
  }
  return out;
}

void CheckName(const std::string& name) {
  if (name.empty()) throw RuntimeException("PropertyStream: empty property name");
  for (char c : name) {
    if (!IsAsciiLetter(c)) throw RuntimeException("PropertyStream: property name " + name + " is not all letters");
  }
}

}  // namespace

std::string EncodePropertyStream(const std::vector<PropertyRecord>& records) {
  std::string out;
  for (const PropertyRecord& r : records) {
    // A blank or other byte in a name would make the stream unreadable.
    CheckName(r.name);
    out += r.name;
    out += ' ';
    if (const bool* b = std::get_if<bool>(&r.value)) {
      out += char(*b ? 1 : 0);
    } else if (const int32_t* i = std::get_if<int32_t>(&r.value)) {
      PutUInt32(out, uint32_t(*i));
    } else if (const Color* c = std::get_if<Color>(&r.value)) {
      out += char(c->Red());
      out += char(c->Green());
      out += char(c->Blue());
    } else {
      const std::string& text = std::get<std::string>(r.value);
      PutUInt32(out, uint32_t(text.size()));
      out += text;
    }
  }
  return out;
}

std::vector<PropertyRecord> DecodePropertyStream(const std::string& stream, const PropertyTable& table) {
  std::vector<PropertyRecord> records;
  for (Decoded& d : Decode(stream, table)) records.push_back(std::move(d.record));
  return records;
}

void SetProperties(Object& object, const std::string& stream) {
  // The whole stream is read before anything is set: a damaged stream
  // leaves the object as it was.
  for (const Decoded& d : Decode(stream, object.StoredProperties())) d.decl->set(object, d.record.value);
}

}  // namespace fw
