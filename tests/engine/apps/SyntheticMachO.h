#pragma once
// Small Mach-O images with an embedded code signature, built byte by byte for the tests.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::testing {

inline void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xff);
}

inline void appendLittleEndian(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift <= 24; shift += 8)
        out += static_cast<char>((value >> shift) & 0xff);
}

inline std::string entitlementsPlist(std::string_view sandboxValue) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
           "\t<key>com.apple.security.app-sandbox</key>\n\t" +
           std::string(sandboxValue) + "\n</dict>\n</plist>\n";
}

// A super-blob with a placeholder code directory and, when `entitlements` is not empty, an entitlements blob.
inline std::string signatureSuperBlob(std::string_view entitlements) {
    std::string codeDirectory;
    appendBigEndian(codeDirectory, 0xfade0c02);
    appendBigEndian(codeDirectory, 8);
    std::string entitlementsBlob;
    if (!entitlements.empty()) {
        appendBigEndian(entitlementsBlob, 0xfade7171);
        appendBigEndian(entitlementsBlob, static_cast<std::uint32_t>(8 + entitlements.size()));
        entitlementsBlob += entitlements;
    }
    const std::uint32_t count = entitlements.empty() ? 1 : 2;
    const std::uint32_t indexEnd = 12 + 8 * count;
    std::string blob;
    appendBigEndian(blob, 0xfade0cc0);
    appendBigEndian(blob,
                    static_cast<std::uint32_t>(indexEnd + codeDirectory.size() + entitlementsBlob.size()));
    appendBigEndian(blob, count);
    appendBigEndian(blob, 0); // code directory slot
    appendBigEndian(blob, indexEnd);
    if (!entitlements.empty()) {
        appendBigEndian(blob, 5); // entitlements slot
        appendBigEndian(blob, static_cast<std::uint32_t>(indexEnd + codeDirectory.size()));
    }
    return blob + codeDirectory + entitlementsBlob;
}

// A 64-bit little-endian image with one LC_UUID-sized filler command and, when `signature` is not empty,
// an LC_CODE_SIGNATURE command pointing at it.
inline std::string thinImage(std::string_view signature) {
    const std::uint32_t commandCount = signature.empty() ? 1 : 2;
    const std::uint32_t commandsSize = 24 + (signature.empty() ? 0 : 16);
    const std::uint32_t signatureOffset = 32 + commandsSize + 8; // some padding before the signature
    std::string image;
    appendLittleEndian(image, 0xfeedfacf);
    appendLittleEndian(image, 0x0100000c); // arm64
    appendLittleEndian(image, 0);
    appendLittleEndian(image, 2); // executable
    appendLittleEndian(image, commandCount);
    appendLittleEndian(image, commandsSize);
    appendLittleEndian(image, 0);
    appendLittleEndian(image, 0);
    appendLittleEndian(image, 0x1b); // LC_UUID
    appendLittleEndian(image, 24);
    image += std::string(16, '\x42');
    if (!signature.empty()) {
        appendLittleEndian(image, 0x1d);
        appendLittleEndian(image, 16);
        appendLittleEndian(image, signatureOffset);
        appendLittleEndian(image, static_cast<std::uint32_t>(signature.size()));
    }
    image += std::string(8, '\0');
    return image + std::string(signature);
}

// A universal binary holding the images in order, each at a 16-byte aligned offset.
inline std::string universalBinary(const std::vector<std::string>& images) {
    std::string header;
    appendBigEndian(header, 0xcafebabe);
    appendBigEndian(header, static_cast<std::uint32_t>(images.size()));
    std::string body;
    std::uint32_t offset = 8 + 20 * static_cast<std::uint32_t>(images.size());
    offset = (offset + 15) & ~15u;
    const std::uint32_t start = offset;
    for (const auto& image : images) {
        appendBigEndian(header, 0x01000007); // x86_64
        appendBigEndian(header, 3);
        appendBigEndian(header, offset);
        appendBigEndian(header, static_cast<std::uint32_t>(image.size()));
        appendBigEndian(header, 4);
        body += image;
        body += std::string((16 - image.size() % 16) % 16, '\0');
        offset = start + static_cast<std::uint32_t>(body.size());
    }
    header += std::string(start - header.size(), '\0');
    return header + body;
}

} // namespace orvel::testing
