#include "bench_cases.h"

namespace bench {

std::string FileIn(const Options& options, const char* name) { return options.folder + "/" + name; }

const std::vector<Case>& AllCases() {
    static const std::vector<Case> cases = [] {
        std::vector<Case> all;
        AddFloorCases(all);
        AddXmlCases(all);
        AddStoreCases(all);
        AddTransferCases(all);
        AddSearchCases(all);
        return all;
    }();
    return cases;
}

}  // namespace bench
