#include "support/sample_module.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "common/data_file_packed.h"
#include "common/data_file_path.h"

namespace QuillmereTest {
namespace {

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) throw std::runtime_error(std::string(name) + " is not set; run the tests through CTest");
    return value;
}

}  // namespace

std::string SampleRoot() { return FromEnvironment("QUILLMERE_SAMPLE"); }
std::string SampleArchiveRoot() { return FromEnvironment("QUILLMERE_SAMPLE_ARCHIVE"); }

std::shared_ptr<DRAVCommon::CDataFileFactory> SampleFolderSource(int chapter) {
    return std::make_shared<DRAVCommon::CDataFileFactoryPath>(SampleRoot(), chapter);
}

std::shared_ptr<DRAVCommon::CDataFileFactory> SampleArchiveSource(int chapter) {
    return std::make_shared<DRAVCommon::CDataFileFactoryPacked>(SampleArchiveRoot(), chapter);
}

std::shared_ptr<std::istream> TextStream(const std::string& text) {
    return std::make_shared<std::istringstream>(text);
}

}  // namespace QuillmereTest
