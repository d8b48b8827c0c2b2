#include "support/sample_module.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "common/data_file_packed.h"
#include "common/data_file_path.h"
#include "support/overlay_source.h"

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

std::shared_ptr<DRAVCommon::CDataFileFactory> EditedSampleSource(DRAVCommon::DataFileKind kind,
                                                                 const std::string& name, const std::string& from,
                                                                 const std::string& to) {
    return EditedSampleSource({{kind, name, from, to}});
}

std::shared_ptr<DRAVCommon::CDataFileFactory> EditedSampleSource(const std::vector<SampleEdit>& edits) {
    std::map<std::pair<DRAVCommon::DataFileKind, std::string>, std::string> texts;
    for (const SampleEdit& edit : edits) {
        const std::string path = SampleRoot() + (edit.kind == DRAVCommon::DFK_CHAPTER ? "/1/" : "/") + edit.name;
        auto [file, fresh] = texts.try_emplace({edit.kind, edit.name});
        if (fresh) {
            std::ifstream in(path, std::ios::binary);
            std::ostringstream read;
            read << in.rdbuf();
            file->second = read.str();
        }
        std::string& text = file->second;
        const std::size_t at = text.find(edit.from);
        if (at == std::string::npos || text.find(edit.from, at + 1) != std::string::npos)
            throw std::logic_error("\"" + edit.from + "\" does not occur exactly once in " + path);
        text.replace(at, edit.from.size(), edit.to);
    }
    auto source = std::make_shared<OverlaySource>(SampleFolderSource());
    for (const auto& [file, text] : texts) source->Add(file.first, DRAVCommon::DFS_NONE, file.second, text);
    return source;
}

std::string SampleInterfaceArchivePath() { return SampleArchiveRoot() + "/uiwin32.drav"; }

std::shared_ptr<DRAVCommon::CDataFileFactory> SampleInterfaceSource() {
    return DRAVCommon::CDataFileFactoryPacked::FromPath(SampleInterfaceArchivePath());
}

std::shared_ptr<std::istream> TextStream(const std::string& text) {
    return std::make_shared<std::istringstream>(text);
}

}  // namespace QuillmereTest
