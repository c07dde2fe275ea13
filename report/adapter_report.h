#pragma once
// The adapter report: one ten-line block per adapter, each piece appended to the report box on
// its own through `append`, in the order of the adapter list.
#include <string>

#include "report/adapter_list.h"
#include "report/connection_name.h"
#include "report/report_text.h"

template <class Adapters, class Registry, class Append>
void AppendAdapterReport(Adapters& adapters, Registry& registry, Append&& append) {
  for (const AdapterRecord& record : ReadAdapterList(adapters)) {
    const std::string connectionName = LookupConnectionName(record.AdapterName, registry);
    for (const std::string& piece : FormatAdapterBlock(record, connectionName)) append(piece);
  }
}
