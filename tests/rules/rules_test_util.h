#pragma once
// Small helpers of the rules tests: readers over texts, writers into a temporary
// folder, and checks of the exception a call throws.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/data_file_path.h"
#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"

namespace RulesTest {

inline std::unique_ptr<DRAVCommon::CDataFileReader> ReaderOver(const std::string& text) {
    return std::make_unique<DRAVCommon::CDataFileReader>(QuillmereTest::TextStream(text), "test.drav");
}

// Runs `write` on a fresh file and returns what was written.
template <typename Write>
std::string WrittenText(Write write) {
    QuillmereTest::TempDir dir;
    const std::string path = dir / "out.drav";
    DRAVCommon::CDataFileWriter writer(path);
    write(writer);
    writer.Finish();
    return QuillmereTest::ReadTextFile(path);
}

// The call throws CDRAVException with `code`, and its message holds `fragment`.
template <typename Call>
void ExpectThrowsCode(Call call, std::int32_t code, const std::string& fragment) {
    try {
        call();
        ADD_FAILURE() << "no exception; expected code " << code << " naming \"" << fragment << "\"";
    } catch (const CDRAVException& error) {
        EXPECT_EQ(error.GetCode(), code) << error.GetMessage();
        EXPECT_NE(error.GetMessage().find(fragment), std::string::npos)
            << "message \"" << error.GetMessage() << "\" does not name \"" << fragment << "\"";
    }
}

// A copy of the sample tree the test may change.
class SampleCopy {
public:
    SampleCopy() {
        std::filesystem::copy(QuillmereTest::SampleRoot(), m_dir.Path(), std::filesystem::copy_options::recursive);
    }
    std::string Root() const { return m_dir.Path().string(); }
    void Remove(const std::string& relative) const { std::filesystem::remove(m_dir.Path() / relative); }
    void Write(const std::string& relative, const std::string& text) const { m_dir.WriteFile(relative, text); }
    // Replaces the one occurrence of `from` in the file, as a module author's edit would.
    void Edit(const std::string& relative, const std::string& from, const std::string& to) const {
        std::string text = QuillmereTest::ReadTextFile(m_dir / relative);
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        ASSERT_EQ(text.find(from, at + 1), std::string::npos) << from;
        Write(relative, text.replace(at, from.size(), to));
    }
    std::shared_ptr<DRAVCommon::CDataFileFactory> Source() const {
        return std::make_shared<DRAVCommon::CDataFileFactoryPath>(Root(), 1);
    }

private:
    QuillmereTest::TempDir m_dir;
};

}  // namespace RulesTest
