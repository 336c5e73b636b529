#include "ctl/ParameterDiff.h"

#include "model/ChannelModel.h"

#include <QString>

namespace m7410 {

namespace {

// Names are Latin-1 bytes on the unit.
std::string utf8Name(const BlockData& block) {
    return QString::fromLatin1(blockName(block)).toUtf8().toStdString();
}

} // namespace

std::vector<ParameterChange> parameterChanges(const BlockData& before, const BlockData& after) {
    std::vector<ParameterChange> out;
    const std::string nameBefore = utf8Name(before);
    const std::string nameAfter = utf8Name(after);
    if (nameBefore != nameAfter)
        out.push_back({"name", {nameBefore, std::nullopt, ""}, {nameAfter, std::nullopt, ""}});
    ChannelModel a, b;
    decodeBlock(before, a);
    decodeBlock(after, b);
    for (const ParameterPath& p : allParameterPaths()) {
        ParameterReading ra = readParameter(a, p);
        ParameterReading rb = readParameter(b, p);
        if (ra.text != rb.text) out.push_back({p.path, std::move(ra), std::move(rb)});
    }
    return out;
}

} // namespace m7410
