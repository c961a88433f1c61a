#include "DiscJson.h"

#include "AccurateRipId.h"

#include <cstdio>

namespace vantorcd {
namespace {

using json = nlohmann::ordered_json;

std::string hex8(uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

// Empty texts are absent facts: null, not "".
json textOrNull(const std::string& text)
{
    return text.empty() ? json(nullptr) : json(text);
}

json cdTextJson(const CdTextNames& names)
{
    if (names.title.empty() && names.performer.empty())
        return nullptr;
    return {{"title", textOrNull(names.title)}, {"performer", textOrNull(names.performer)}};
}

json leafJson(const Vantor::Core::Property& leaf)
{
    switch (leaf.GetType()) {
    case Vantor::PROPERTY_TYPE_INTEGER:
        return leaf.GetInteger();
    case Vantor::PROPERTY_TYPE_STRING:
        return leaf.GetString();
    case Vantor::PROPERTY_TYPE_BOOL:
        return leaf.GetBool();
    default:
        return nullptr;
    }
}

} // namespace

json trackJson(const TocTrack& track)
{
    return {{"number", track.number},
            {"session", track.session},
            {"type", track.audio ? "audio" : "data"},
            {"start_lba", track.startLba},
            {"sectors", track.lengthSectors},
            {"pregap_sectors", track.pregapSectors ? json(*track.pregapSectors) : json(nullptr)},
            {"isrc", textOrNull(track.isrc)},
            {"cdtext", cdTextJson(track.cdText)}};
}

json discJson(const OpenedDisc& disc)
{
    const DiscIdentity& identity = disc.toc.identity;
    const AccurateRipId accurateRip = accurateRipIdOf(disc.toc, identity.freedbId);
    json tracks = json::array();
    for (const TocTrack& track : disc.toc.tracks) {
        json entry = trackJson(track);
        entry["duration_us"] = disc.reader->GetTrackDuration(track.number);
        entry["path"] = disc.reader->GetTrackPath(track.number).utf8string();
        tracks.push_back(std::move(entry));
    }
    return {{"disc", disc.toc.drive},
            {"duration_us", disc.reader->GetDiskDuration()},
            {"sessions", disc.toc.sessionLeadOutLba.size()},
            {"lead_out_lba", disc.toc.sessionLeadOutLba.back()},
            {"musicbrainz_id", textOrNull(identity.musicbrainzId)},
            {"freedb_id", hex8(identity.freedbId)},
            {"accuraterip",
             {{"id1", hex8(accurateRip.id1)},
              {"id2", hex8(accurateRip.id2)},
              {"freedb_id", hex8(accurateRip.freedb)},
              {"audio_tracks", accurateRip.audioTracks},
              {"file", accurateRip.fileName()}}},
            {"mcn", textOrNull(identity.mcn)},
            {"cdtext", cdTextJson(identity.cdText)},
            {"tracks", tracks}};
}

json propertyJson(const Vantor::Core::Property& node)
{
    json object = json::object();
    for (const Vantor::Core::Property& child : node.GetChildren())
        object[child.GetName()] =
            child.GetType() == Vantor::PROPERTY_TYPE_NODE ? propertyJson(child) : leafJson(child);
    return object;
}

} // namespace vantorcd
