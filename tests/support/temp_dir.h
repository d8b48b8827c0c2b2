#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace QuillmereTest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // `relative` below the folder, as a string.
    std::string operator/(const std::string& relative) const { return (m_path / relative).string(); }

    // Writes `text` (or bytes) to `relative`, creating folders on the way; returns the full path.
    std::string WriteFile(const std::string& relative, const std::string& text) const;
    std::string WriteBytes(const std::string& relative, const std::vector<std::uint8_t>& bytes) const;

    // Copies the folder to a fresh `label`-XXXXXX below the build tree and returns its
    // path: what a failed test leaves to be looked at, on a CI machine too.
    std::string KeepCopy(const std::string& label) const;
    // Each file below the folder with its size in bytes, in name order, one a line.
    std::string Listing() const;

private:
    std::filesystem::path m_path;
};

std::string ReadTextFile(const std::string& path);

}  // namespace QuillmereTest
