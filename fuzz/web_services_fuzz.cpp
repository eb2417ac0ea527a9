#include "emulefiles/core/known_met_record.h"
#include "fuzz_check.h"
#include "links/core/web_services.h"

using namespace pln;

// webservices.dat: every service comes from a service line, and filling its
// template from a record never breaks.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = fuzz::textOf(data, size);
    std::vector<tWebService> services = parseWebServices(text);
    fuzz::require(services.size() <= size);
    auto record = tKnownMetRecord::createFromValues(nameWithoutExtension(text.substr(0, 64)),
                                                    "0123456789ABCDEF0123456789ABCDEF", 0, 1, 2,
                                                    5'000'000'000ULL, {});
    for (const tWebService& service : services) {
        fuzz::require(isWebServiceLine(service.caption + "," + service.urlTemplate));
        std::string url = webServiceUrl(service.urlTemplate, *record);
        if (isWebUrl(url))
            fuzz::require(url.find("://") != std::string::npos);
    }
    return 0;
}
