// query: the antennas of a query, with the columns of the window's grid.
#include "catalog/AntennaGrid.h"
#include "cli/ToolCommands.h"
#include "cli/ToolRun.h"
#include "platform/Error.h"

int RunQuery(TToolRun& run, const TCommandLine& line) {
  TDataModule& data = run.Catalogue();
  if (line.Has("--all")) {
    data.QueryMode = TQueryMode::All;
  } else if (auto part = line.Get("--part")) {
    data.QueryMode = TQueryMode::ModelNumber;
    data.SetQueryValue(*part);
    data.SetExactPartNumber(line.Has("--exact"));
  } else if (line.Has("--freq") && line.Has("--type")) {
    const std::string freq = *line.Get("--freq"), type = *line.Get("--type");
    // The values the query takes, looked for where the query reads them.
    const std::vector<TChainFilter>& query = chain::kAntennasOfRangeAndType.filters;
    if (const int status =
            run.Choose(data.*query[0].from, "frequency range", {query[0].field}, freq, false))
      return status;
    if (const int status =
            run.Choose(data.*query[1].from, "antenna type", {query[1].field}, type, false))
      return status;
    data.QueryMode = TQueryMode::RangeAndType;
  }
  const bool found = data.QueryAntennaRows();
  if (!found && data.QueryFailed()) {
    if (run.Format() == TFormat::Json) run.Out() << "[]\n";  // a program still reads a list
    return kStatusFileError;
  }
  // Rows are written as they are read, cells copied from the table's memory;
  // nothing found is the title row alone, in every format.
  std::vector<TColumn> titles;
  std::vector<size_t> cells;
  TDelimitedTable& antennas = data.Antennas;
  for (const TGridColumn& column : kAntennaGridColumns) {
    titles.emplace_back(column.title);
    cells.push_back(static_cast<size_t>(antennas.FieldByName(column.field)->Index()));
  }
  TRecordWriter writer(run.Out(), run.Format(), std::move(titles), run.Encoding());
  std::vector<std::string_view> row(cells.size());
  for (int r = 0; found && r < antennas.RecordCount(); ++r) {
    const std::vector<std::string_view>& all = antennas.RowCells(r);
    for (size_t c = 0; c < cells.size(); ++c) {
      if (cells[c] >= all.size())
        throw EKavError(antennas.FileName() + " line " + std::to_string(antennas.SourceLine(r)) +
                        ": " + std::to_string(all.size()) + " cells, where the column " +
                        kAntennaGridColumns[c].field + " is cell " + std::to_string(cells[c] + 1) +
                        " (" + ListIndexError(static_cast<long long>(cells[c])) + ")");
      row[c] = all[cells[c]];
    }
    writer.Row(row);
  }
  if (!found) {
    writer.Finish();
    return kStatusNotFound;
  }
  writer.Finish();
  return 0;
}
