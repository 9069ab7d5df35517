#pragma once

#include <cstdint>

#include "ctrl/core/UpdateInstall.h"

// ISignatureVerifier over Windows CNG (bcrypt): ECDSA P-256 over SHA-256,
// with the public key given as X || Y, 32 bytes each.
class CngVerifier final : public ISignatureVerifier {
public:
    explicit CngVerifier(const std::uint8_t (&publicKey)[2 * kP256ScalarBytes]);
    bool Verify(std::string_view data, const RawSignature& signature) override;

private:
    const std::uint8_t (&publicKey)[2 * kP256ScalarBytes];
};
