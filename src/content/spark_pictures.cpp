#include "content/spark_pictures.h"

#include <filesystem>
#include <system_error>

#include "content/content_error.h"
#include "graphics/tga_surface.h"

namespace ib {

namespace {

bool present(const ImageRegistry& images, const std::string& name)
{
    std::error_code ec;
    return std::filesystem::exists(images.files ? images.files->pathOf(name) : name, ec);
}

// The picture of that file name, or null when there is no such file.
std::shared_ptr<Surface> loadSpark(LoadContext& ctx, const std::string& name)
{
    if (!present(ctx.images, name)) return nullptr;
    std::shared_ptr<Surface> picture = loadTgaSurface(ctx.directDraw, ctx.images, name);
    if (!picture || picture->width() > kMaxSparkSide || picture->height() > kMaxSparkSide)
        throw ContentError("Spark picture not usable", name);
    setSourceColorKey(*picture, kMagenta);
    return picture;
}

std::shared_ptr<Surface> ownOrShared(LoadContext& ctx, const std::string& own, const std::string& shared)
{
    if (auto picture = loadSpark(ctx, own)) return picture;
    return loadSpark(ctx, shared);
}

}  // namespace

void loadSparkPictures(LoadContext& ctx, Character& character)
{
    character.spark = ownOrShared(ctx, character.name + ".spark.tga", "spark.tga");
    character.blockSpark = ownOrShared(ctx, character.name + ".block-spark.tga", "block-spark.tga");
}

}  // namespace ib
