#include "rules/monsters/store_template.h"

#include "rules/module.h"

namespace DRAV {

CStoreTemplate::CStoreTemplate(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    reader.BeginBlock("store");
    m_kinds = ReadBuy(reader);
    ReadItemList(reader, module.GetItemTemplates(), m_items);
    reader.EndBlock();
}

StoreKindMap CStoreTemplate::ReadBuy(DRAVCommon::CDataFileReader& reader) {
    StoreKindMap kinds;
    reader.BeginBlock("buy");
    while (!reader.AtBlockEnd()) kinds.insert_or_assign(ReadItemKind(reader), true);
    reader.EndBlock();
    return kinds;
}

void CStoreTemplate::WriteBuy(DRAVCommon::CDataFileWriter& writer, const StoreKindMap& kinds) {
    writer.BeginBlock("buy");
    for (const auto& entry : kinds) writer.WriteWord(GetItemKindKey(entry.first));
    writer.EndBlock();
}

}  // namespace DRAV
