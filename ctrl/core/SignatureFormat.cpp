#include "ctrl/core/SignatureFormat.h"

#include <algorithm>

namespace {

constexpr unsigned char kSequenceTag = 0x30;
constexpr unsigned char kIntegerTag = 0x02;
// P-256 signatures are at most 72 bytes, so every DER length fits the short
// form (below 0x80); a long form is not what openssl writes.
constexpr unsigned char kLongLengthForm = 0x80;

// Reads one tag-length-value item at `pos`; `value` is its content.
bool ReadItem(std::string_view der, std::size_t& pos, unsigned char tag, std::string_view& value)
{
    if (der.size() - pos < 2 || static_cast<unsigned char>(der[pos]) != tag) {
        return false;
    }
    const auto length = static_cast<unsigned char>(der[pos + 1]);
    if ((length & kLongLengthForm) != 0 || der.size() - pos - 2 < length) {
        return false;
    }
    value = der.substr(pos + 2, length);
    pos += 2 + length;
    return true;
}

// A positive integer in minimal form, right-aligned into 32 bytes.
bool PutScalar(std::string_view value, std::uint8_t* out)
{
    if (value.empty() || (static_cast<unsigned char>(value[0]) & 0x80) != 0) {
        return false;  // empty or negative
    }
    if (value[0] == 0) {
        if (value.size() == 1 || (static_cast<unsigned char>(value[1]) & 0x80) == 0) {
            return false;  // zero, or a padding byte that was not needed
        }
        value.remove_prefix(1);
    }
    if (value.size() > kP256ScalarBytes) {
        return false;
    }
    std::fill(out, out + kP256ScalarBytes, 0);
    std::copy(value.begin(), value.end(), out + kP256ScalarBytes - value.size());
    return true;
}

}  // namespace

std::optional<RawSignature> RawSignatureFromDer(std::string_view der)
{
    std::size_t pos = 0;
    std::string_view sequence;
    if (!ReadItem(der, pos, kSequenceTag, sequence) || pos != der.size()) {
        return std::nullopt;
    }
    std::size_t inner = 0;
    std::string_view r;
    std::string_view s;
    RawSignature raw{};
    if (!ReadItem(sequence, inner, kIntegerTag, r) || !ReadItem(sequence, inner, kIntegerTag, s) ||
        inner != sequence.size() || !PutScalar(r, raw.data()) || !PutScalar(s, raw.data() + kP256ScalarBytes)) {
        return std::nullopt;
    }
    return raw;
}
