#include "core/genicam/description_file.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

namespace vk {
namespace {

constexpr std::uint8_t kZipMagic[] = {'P', 'K', 3, 4};

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

DescriptionText Failed(std::string why) {
    DescriptionText out;
    out.error = std::move(why);
    return out;
}

bool EndsWithXml(std::string_view name) {
    constexpr std::string_view kSuffix = ".xml";
    if (name.size() <= kSuffix.size()) return false;
    const std::string_view tail = name.substr(name.size() - kSuffix.size());
    return std::equal(tail.begin(), tail.end(), kSuffix.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

}  // namespace

bool LooksLikeZip(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= sizeof kZipMagic &&
           std::equal(std::begin(kZipMagic), std::end(kZipMagic), bytes.begin());
}

DescriptionText XmlFromZip(std::span<const std::uint8_t> zip) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(zip.data(), zip.size(), 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        return Failed("cannot read the zip archive");
    }
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!archive) {
        zip_source_free(source);
        DescriptionText out =
            Failed(std::string("not a readable zip archive (") + zip_error_strerror(&error) + ")");
        zip_error_fini(&error);
        return out;
    }
    zip_error_fini(&error);

    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        const auto index = static_cast<zip_uint64_t>(i);
        if (zip_stat_index(archive.get(), index, 0, &stat) != 0 || stat.name == nullptr ||
            !EndsWithXml(stat.name)) {
            continue;
        }
        if ((stat.valid & ZIP_STAT_SIZE) == 0 || stat.size > kMaxDescriptionBytes) {
            return Failed(std::string(stat.name) + " in the zip archive is too large");
        }
        std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen_index(archive.get(), index, 0));
        if (!file) {
            return Failed(std::string("cannot open ") + stat.name + " in the zip archive (" +
                          zip_strerror(archive.get()) + ")");
        }
        DescriptionText out;
        out.text.resize(stat.size);
        std::size_t done = 0;
        while (done < out.text.size()) {
            const zip_int64_t n =
                zip_fread(file.get(), out.text.data() + done, out.text.size() - done);
            if (n <= 0) {
                return Failed(std::string("cannot unpack ") + stat.name +
                              " from the zip archive (" + zip_file_strerror(file.get()) + ")");
            }
            done += static_cast<std::size_t>(n);
        }
        out.ok = true;
        return out;
    }
    return Failed("the zip archive holds no XML file");
}

DescriptionText ReadDescriptionFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failed(path + "\nCouldn't open this file");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0) return Failed(path + "\nCouldn't open this file");
    if (static_cast<std::uint64_t>(size) > kMaxDescriptionBytes) {
        return Failed(path + "\nis too large for a device description");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return Failed(path + "\nCouldn't open this file");
    }
    if (!LooksLikeZip(bytes)) {
        DescriptionText out;
        out.ok = true;
        out.text.assign(bytes.begin(), bytes.end());
        return out;
    }
    DescriptionText out = XmlFromZip(bytes);
    if (!out.ok) out.error = path + "\n" + out.error;
    return out;
}

DescriptionParse LoadDescriptionFile(const std::string& path) {
    const DescriptionText text = ReadDescriptionFile(path);
    if (!text.ok) {
        DescriptionParse out;
        out.error = text.error;
        return out;
    }
    DescriptionParse out = ParseDescription(text.text);
    if (!out.ok) out.error = path + "\n" + out.error;
    return out;
}

}  // namespace vk
