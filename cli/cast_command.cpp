#include "cli/cast_command.h"

#include <iostream>

#include "chart/frame/chart_frame.h"
#include "cli/exit_status.h"
#include "cli/output.h"
#include "page/chart_json.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "page/page_template.h"

namespace ziwei::cli {

std::string castOutput(const CastOptions& options) {
  const ChartState chart = castFrame(options.request.birth, options.request.options);
  if (options.format == OutputFormat::Json) {
    std::string json = chartJson(options.request, chart);
    json += '\n';
    return json;
  }
  return chartPageFile(chartPageTemplate(), chart, options.request.name,
                       options.printDate ? *options.printDate : todayShortDate(), options.encoding);
}

int runCast(const CastOptions& options) {
  std::string bytes;
  try {
    bytes = castOutput(options);
  } catch (const std::invalid_argument& error) {
    std::cerr << "ziwei: " << oneLine(error.what()) << '\n';
    return kExitUsage;
  }
  try {
    writeOutput(options.output, bytes);
  } catch (const PageWriteError& error) {
    std::cerr << "ziwei: " << oneLine(error.what()) << '\n';
    return kExitIoError;
  }
  return kExitDone;
}

}  // namespace ziwei::cli
