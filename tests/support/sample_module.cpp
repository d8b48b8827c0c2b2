#include "support/sample_module.h"

#include <cstdlib>
#include <sstream>

#include "common/data_file_packed.h"
#include "common/data_file_path.h"

namespace QuillmereTest {
namespace {

// The build tells where the sample lives; the environment may point elsewhere.
std::string Location(const char* variable, const char* builtIn) {
    const char* value = std::getenv(variable);
    return value && *value ? value : builtIn;
}

}  // namespace

std::string SampleRoot() { return Location("QUILLMERE_SAMPLE", QUILLMERE_SAMPLE_DIR); }
std::string SampleFolderRoot() { return Location("QUILLMERE_SAMPLE_FOLDER", QUILLMERE_SAMPLE_FOLDER_DIR); }
std::string SampleArchiveRoot() { return Location("QUILLMERE_SAMPLE_ARCHIVE", QUILLMERE_SAMPLE_ARCHIVE_DIR); }

std::shared_ptr<DRAVCommon::CDataFileFactory> SampleFolderSource(int chapter) {
    return std::make_shared<DRAVCommon::CDataFileFactoryPath>(SampleFolderRoot(), chapter);
}

std::shared_ptr<DRAVCommon::CDataFileFactory> SampleArchiveSource(int chapter) {
    return std::make_shared<DRAVCommon::CDataFileFactoryPacked>(SampleArchiveRoot(), chapter);
}

std::string SampleInterfaceArchivePath() { return SampleArchiveRoot() + "/uiwin32.drav"; }

std::shared_ptr<DRAVCommon::CDataFileFactory> SampleInterfaceSource() {
    return DRAVCommon::CDataFileFactoryPacked::FromPath(SampleInterfaceArchivePath());
}

std::shared_ptr<std::istream> TextStream(const std::string& text) {
    return std::make_shared<std::istringstream>(text);
}

}  // namespace QuillmereTest
