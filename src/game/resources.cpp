#include "platform/win32/resources.h"

#include "game/resource_ids.h"

namespace Win32 {

const ResourceScript& ProgramResources() {
    static const ResourceScript script{
        {{IDS_APP_TITLE, "Quillmere"}, {IDC_QUILLMERE, "QuillmereMainWindow"}},
        {IDI_QUILLMERE},
    };
    return script;
}

}  // namespace Win32
