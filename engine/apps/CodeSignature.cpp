#include "engine/apps/CodeSignature.h"

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "core/FileIO.h"
#include "core/PropertyList.h"

namespace orvel::CodeSignature {
namespace {

constexpr std::uint32_t machMagic32 = 0xfeedface;
constexpr std::uint32_t machMagic64 = 0xfeedfacf;
constexpr std::uint32_t machCigam32 = 0xcefaedfe;
constexpr std::uint32_t machCigam64 = 0xcffaedfe;
constexpr std::uint32_t fatMagic = 0xcafebabe;
constexpr std::uint32_t fatMagic64 = 0xcafebabf;
constexpr std::uint32_t loadCommandCodeSignature = 0x1d;
constexpr std::uint32_t superBlobMagic = 0xfade0cc0;
constexpr std::uint32_t entitlementsBlobMagic = 0xfade7171;

// Real binaries stay far below these; they only stop a hostile file from making us allocate gigabytes.
constexpr std::uint64_t maximumLoadCommandsSize = 16u << 20;
constexpr std::uint64_t maximumEntitlementsSize = 4u << 20;
constexpr std::uint32_t maximumArchitectures = 64;
constexpr std::uint64_t maximumBlobCount = 4096;

std::uint32_t bigEndian32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

std::uint64_t bigEndian64(std::string_view bytes, std::size_t offset) {
    return (static_cast<std::uint64_t>(bigEndian32(bytes, offset)) << 32) | bigEndian32(bytes, offset + 4);
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i > 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i - 1]);
    return value;
}

// A region of the file: one thin Mach-O image.
struct Slice {
    std::uint64_t offset;
    std::uint64_t size;
};

std::optional<json::Json> entitlementsInSuperBlob(const FileIO::RegularFile& file, std::uint64_t start,
                                                  std::uint64_t size) {
    if (size < 12)
        return std::nullopt;
    auto header = file.read(start, 12);
    if (!header || bigEndian32(*header, 0) != superBlobMagic)
        return std::nullopt;
    const std::uint64_t count = bigEndian32(*header, 8);
    if (count > maximumBlobCount || count > (size - 12) / 8)
        return std::nullopt;
    auto index = file.read(start + 12, count * 8);
    if (!index)
        return std::nullopt;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t blobOffset = bigEndian32(*index, static_cast<std::size_t>(i * 8 + 4));
        if (blobOffset > size || size - blobOffset < 8)
            continue;
        auto blobHeader = file.read(start + blobOffset, 8);
        if (!blobHeader || bigEndian32(*blobHeader, 0) != entitlementsBlobMagic)
            continue;
        const std::uint64_t length = bigEndian32(*blobHeader, 4);
        if (length < 8 || length > size - blobOffset || length - 8 > maximumEntitlementsSize)
            return std::nullopt;
        auto payload = file.read(start + blobOffset + 8, length - 8);
        if (!payload)
            return std::nullopt;
        auto plist = PropertyList::parseWithinLimits(*payload, bundleListLimits).value;
        if (plist && plist->is_object())
            return plist;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<json::Json> entitlementsInSlice(const FileIO::RegularFile& file, Slice slice) {
    auto magicBytes = file.read(slice.offset, 4);
    if (!magicBytes || slice.size < 4)
        return std::nullopt;
    const std::uint32_t magic = littleEndian32(*magicBytes, 0);
    const bool littleEndian = magic == machMagic32 || magic == machMagic64;
    if (!littleEndian && magic != machCigam32 && magic != machCigam64)
        return std::nullopt;
    const bool wide = magic == machMagic64 || magic == machCigam64;
    const auto word = [littleEndian](std::string_view bytes, std::size_t offset) {
        return littleEndian ? littleEndian32(bytes, offset) : bigEndian32(bytes, offset);
    };

    const std::uint64_t headerSize = wide ? 32 : 28;
    if (slice.size < headerSize)
        return std::nullopt;
    auto header = file.read(slice.offset, headerSize);
    if (!header)
        return std::nullopt;
    const std::uint32_t commandCount = word(*header, 16);
    const std::uint64_t commandsSize = word(*header, 20);
    if (commandsSize > maximumLoadCommandsSize || commandsSize > slice.size - headerSize)
        return std::nullopt;
    auto commands = file.read(slice.offset + headerSize, commandsSize);
    if (!commands)
        return std::nullopt;

    std::uint64_t position = 0;
    for (std::uint32_t i = 0; i < commandCount; ++i) {
        if (commandsSize - position < 8)
            return std::nullopt;
        const std::uint32_t command = word(*commands, static_cast<std::size_t>(position));
        const std::uint64_t commandSize = word(*commands, static_cast<std::size_t>(position + 4));
        if (commandSize < 8 || commandSize > commandsSize - position)
            return std::nullopt;
        if (command == loadCommandCodeSignature) {
            if (commandSize < 16)
                return std::nullopt;
            const std::uint64_t dataOffset = word(*commands, static_cast<std::size_t>(position + 8));
            const std::uint64_t dataSize = word(*commands, static_cast<std::size_t>(position + 12));
            if (dataOffset > slice.size || dataSize > slice.size - dataOffset)
                return std::nullopt;
            return entitlementsInSuperBlob(file, slice.offset + dataOffset, dataSize);
        }
        position += commandSize;
    }
    return std::nullopt;
}

// The thin images of a universal binary, or the whole file as one image.
std::vector<Slice> slices(const FileIO::RegularFile& file) {
    auto header = file.read(0, 8);
    if (!header)
        return {};
    const std::uint32_t magic = bigEndian32(*header, 0);
    if (magic != fatMagic && magic != fatMagic64)
        return {{0, file.size()}};
    const std::uint32_t count = bigEndian32(*header, 4);
    if (count > maximumArchitectures)
        return {};
    const std::uint64_t entrySize = magic == fatMagic64 ? 32 : 20;
    auto entries = file.read(8, count * entrySize);
    if (!entries)
        return {};
    std::vector<Slice> result;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = static_cast<std::size_t>(i * entrySize);
        const Slice slice = magic == fatMagic64
                                ? Slice{bigEndian64(*entries, at + 8), bigEndian64(*entries, at + 16)}
                                : Slice{bigEndian32(*entries, at + 8), bigEndian32(*entries, at + 12)};
        if (slice.offset <= file.size() && slice.size <= file.size() - slice.offset)
            result.push_back(slice);
    }
    return result;
}

} // namespace

std::optional<json::Json> entitlements(const std::filesystem::path& executable) {
    try {
        // An executable is often a link inside its bundle; only what it leads to must be a regular file.
        const FileIO::RegularFile file(executable, FileIO::Links::follow);
        for (const Slice& slice : slices(file))
            if (auto found = entitlementsInSlice(file, slice))
                return found;
    } catch (const std::system_error&) {
    }
    return std::nullopt;
}

} // namespace orvel::CodeSignature
