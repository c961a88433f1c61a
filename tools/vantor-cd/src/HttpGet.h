// One plain HTTP GET through libcurl, for AccurateRip's replies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantorcd {

struct HttpReply
{
    long status = 0; // the HTTP status code
    std::vector<uint8_t> body;
};

// Throws std::runtime_error with libcurl's reason when no reply arrives: no such host, refused,
// timed out, or a body larger than a reply can be.
HttpReply httpGet(const std::string& url);

} // namespace vantorcd
