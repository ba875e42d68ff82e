#include "TestSupport.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "Sjis.h"

namespace sulkan::test {

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("sulkan-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::folder() const {
    return m_path.string() + "/";
}

std::vector<std::string> Sjis(const std::vector<std::string>& utf8Lines) {
    std::vector<std::string> out;
    out.reserve(utf8Lines.size());
    for (const auto& l : utf8Lines) out.push_back(sjis(l));
    return out;
}

void WriteSjisFile(const std::filesystem::path& file, const std::vector<std::string>& utf8Lines) {
    std::string bytes;
    for (const auto& l : utf8Lines) bytes += sjis(l) + "\r\n";
    WriteRawFile(file, bytes);
}

void WriteRawFile(const std::filesystem::path& file, const std::string& bytes) {
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadRawFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace sulkan::test
