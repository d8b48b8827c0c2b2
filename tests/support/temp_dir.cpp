#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace QuillmereTest {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillmere-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::WriteFile(const std::string& relative, const std::string& text) const {
    return WriteBytes(relative, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string TempDir::WriteBytes(const std::string& relative, const std::vector<std::uint8_t>& bytes) const {
    std::filesystem::path path = m_path / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

std::string TempDir::KeepCopy(const std::string& label) const {
    const std::filesystem::path kept = std::filesystem::path(QUILLMERE_KEPT_DIR) / label;
    std::filesystem::create_directories(kept.parent_path());
    std::string pattern = kept.string() + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    std::filesystem::copy(m_path, pattern, std::filesystem::copy_options::recursive);
    return pattern;
}

std::string TempDir::Listing() const {
    std::set<std::string> lines;  // in name order
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path)) {
        if (!entry.is_regular_file()) continue;
        lines.insert(std::filesystem::relative(entry.path(), m_path).string() + " " +
                     std::to_string(entry.file_size()) + " bytes\n");
    }
    std::string listing;
    for (const std::string& line : lines) listing += line;
    return listing;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace QuillmereTest
