#include "platform/font/FontRasteriser.h"

#include "platform/font/FreeTypeFontRasteriser.h"

namespace kelvane {

std::unique_ptr<IFontRasteriser> MakeFontRasteriser() { return std::make_unique<FreeTypeFontRasteriser>(); }

}  // namespace kelvane
