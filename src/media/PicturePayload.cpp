// Picture payloads of archive items: "TDIB" and "TBitmap".

#include "media/PicturePayload.h"

#include "media/ComponentStream.h"
#include "media/Dib.h"

namespace kelvane {

void ReadPicturePayload(const std::vector<uint8_t>& payload, Picture& into) {
    into = Picture{};
    if (payload.empty()) return;
    ByteReader reader(payload);
    const std::string className = ReadShortString(reader);
    const bool dib = SameText(className, "TDIB");
    if (!dib && !SameText(className, "TBitmap")) return;  // a class we do not know: no picture

    into.ClassName = dib ? "TDIB" : "TBitmap";
    into.Data = reader.Vector(reader.Remaining());
    if (into.Data.empty()) return;
    if (dib) {
        into.Image = DecodeDib(into.Data);
        return;
    }
    ByteReader bitmap(into.Data);
    const uint32_t fileSize = bitmap.U32();
    if (fileSize == 0) return;
    const uint8_t* file = bitmap.Bytes(fileSize);
    into.Image = DecodeBmpFile(file, fileSize);
}

std::vector<uint8_t> WritePicturePayload(const Picture& picture) {
    ByteWriter out;
    if (picture.ClassName == "TDIB") {
        WriteShortString(out, "TDIB");
        out.Append(picture.Data.empty() ? EncodeDibRgb(picture.Image) : picture.Data);
        return std::move(out.Bytes());
    }
    const std::vector<uint8_t> file = EncodeBmpFile(picture.Image);
    WriteShortString(out, "TBitmap");
    out.U32(static_cast<uint32_t>(file.size()));
    out.Append(file);
    return std::move(out.Bytes());
}

}  // namespace kelvane
