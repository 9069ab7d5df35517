#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// openssl writes an ECDSA signature as DER, SEQUENCE { INTEGER r, INTEGER s },
// with each integer as short as it can be and a leading zero byte where the
// top bit would otherwise make it negative. CNG's BCryptVerifySignature wants
// r and s as two big-endian numbers of exactly 32 bytes each (P-256).

inline constexpr std::size_t kP256ScalarBytes = 32;
using RawSignature = std::array<std::uint8_t, 2 * kP256ScalarBytes>;

// r || s of a strict DER signature; nullopt for anything else: another tag,
// a length that disagrees with the data, bytes after the sequence, a long
// length form, a negative, zero or padded integer, or a number wider than
// 32 bytes. A signature file is untrusted input.
std::optional<RawSignature> RawSignatureFromDer(std::string_view der);
