// The physical floor: what reading the file and touching its bytes cost.
#include "bench_cases.h"

#include "platform/file_io.h"

#include <cstring>
#include <memory>

namespace bench {

void AddFloorCases(std::vector<Case>& cases) {
    cases.push_back({"floor.read_file", nullptr, [](const Options& o) {
        Prepared p;
        auto data = std::make_shared<std::string>();
        std::string path = FileIn(o, "bm.xml");
        p.work = [=] {
            std::string error;
            platform::ReadWholeFile(path, *data, error);
        };
        p.check = [=] { return std::to_string(data->size()) + " bytes"; };
        return p;
    }});
    cases.push_back({"floor.memcpy", nullptr, [](const Options& o) {
        Prepared p;
        auto source = std::make_shared<std::string>();
        std::string error;
        if (!platform::ReadWholeFile(FileIn(o, "bm.xml"), *source, error)) {
            p.ok = false;
            p.error = error;
            return p;
        }
        auto target = std::make_shared<std::string>(source->size(), '\0');
        p.work = [=] { std::memcpy(target->data(), source->data(), source->size()); };
        return p;
    }});
}

}  // namespace bench
