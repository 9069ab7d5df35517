#include "ctrl/win32/CngVerifier.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstring>

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

class Algorithm {
public:
    explicit Algorithm(const wchar_t* name)
    {
        if (!Succeeded(BCryptOpenAlgorithmProvider(&handle, name, nullptr, 0))) {
            handle = nullptr;
        }
    }
    ~Algorithm()
    {
        if (handle != nullptr) {
            BCryptCloseAlgorithmProvider(handle, 0);
        }
    }
    Algorithm(const Algorithm&) = delete;
    Algorithm& operator=(const Algorithm&) = delete;
    BCRYPT_ALG_HANDLE Get() const { return handle; }

private:
    BCRYPT_ALG_HANDLE handle = nullptr;
};

// BCryptHash exists from Windows 10 on; the create-hash road from Vista on.
bool Sha256(std::string_view data, UCHAR (&digest)[32])
{
    Algorithm sha(BCRYPT_SHA256_ALGORITHM);
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (sha.Get() == nullptr || !Succeeded(BCryptCreateHash(sha.Get(), &hash, nullptr, 0, nullptr, 0, 0))) {
        return false;
    }
    bool ok = true;
    // BCryptHashData takes a 32-bit length: feed large files in pieces.
    constexpr std::size_t kPiece = 1u << 30;
    for (std::size_t done = 0; ok && done < data.size(); done += kPiece) {
        const std::size_t piece = data.size() - done < kPiece ? data.size() - done : kPiece;
        ok = Succeeded(BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(data.data() + done)),
                                      static_cast<ULONG>(piece), 0));
    }
    ok = ok && Succeeded(BCryptFinishHash(hash, digest, sizeof digest, 0));
    BCryptDestroyHash(hash);
    return ok;
}

}  // namespace

CngVerifier::CngVerifier(const std::uint8_t (&key)[2 * kP256ScalarBytes]) : publicKey(key) {}

bool CngVerifier::Verify(std::string_view data, const RawSignature& signature)
{
    UCHAR digest[32];
    Algorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
    if (ecdsa.Get() == nullptr || !Sha256(data, digest)) {
        return false;
    }
    // An ECC public blob: the header, then X and Y.
    UCHAR blob[sizeof(BCRYPT_ECCKEY_BLOB) + sizeof publicKey];
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, static_cast<ULONG>(kP256ScalarBytes)};
    std::memcpy(blob, &header, sizeof header);
    std::memcpy(blob + sizeof header, publicKey, sizeof publicKey);
    BCRYPT_KEY_HANDLE key = nullptr;
    if (!Succeeded(BCryptImportKeyPair(ecdsa.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob, sizeof blob, 0))) {
        return false;
    }
    RawSignature copy = signature;
    const NTSTATUS status =
        BCryptVerifySignature(key, nullptr, digest, sizeof digest, copy.data(), static_cast<ULONG>(copy.size()), 0);
    BCryptDestroyKey(key);
    return Succeeded(status);
}
