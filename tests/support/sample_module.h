#pragma once
// Where the tests find the sample module: the folder tree in the source and the
// archives the build packs from it.

#include <memory>
#include <string>
#include <vector>

#include "common/data_file.h"

namespace QuillmereTest {

// modules/sample in the source tree.
std::string SampleRoot();
// The sample as the build assembles it: modules/sample with the generated images.
std::string SampleFolderRoot();
// The build's folder holding module1.drav packed from the sample.
std::string SampleArchiveRoot();

std::shared_ptr<DRAVCommon::CDataFileFactory> SampleFolderSource(int chapter = 1);
std::shared_ptr<DRAVCommon::CDataFileFactory> SampleArchiveSource(int chapter = 1);

// Chapter 1 of the sample folder with one author's edit: `from`, which must occur
// exactly once in the file `name` of kind chapter or global, becomes `to`.
// std::logic_error when `from` does not occur once.
std::shared_ptr<DRAVCommon::CDataFileFactory> EditedSampleSource(DRAVCommon::DataFileKind kind,
                                                                 const std::string& name, const std::string& from,
                                                                 const std::string& to);
// The same with several edits, in order; edits of one file apply one after another.
struct SampleEdit {
    DRAVCommon::DataFileKind kind;
    std::string name, from, to;
};
std::shared_ptr<DRAVCommon::CDataFileFactory> EditedSampleSource(const std::vector<SampleEdit>& edits);

// The interface archive uiwin32.drav the build draws and packs beside module1.drav.
std::string SampleInterfaceArchivePath();
std::shared_ptr<DRAVCommon::CDataFileFactory> SampleInterfaceSource();

// A reader over an in-memory text, for parser tests.
std::shared_ptr<std::istream> TextStream(const std::string& text);

}  // namespace QuillmereTest
