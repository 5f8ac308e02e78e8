#include "platform/sdl_platform.h"

#include "platform/sdl_pads.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

#ifdef INKBLOT_HAVE_ICON
#include "inkblot_icon.h"
#endif

namespace ib {

namespace {

constexpr int kWidth = kScreenWidth;
constexpr int kHeight = kScreenHeight;

// RGB565 to 0x00RRGGBB, each channel widened by repeating its top bits.
void widenRow(const std::uint16_t* __restrict src, std::uint32_t* __restrict dst, int n)
{
    for (int i = 0; i < n; ++i) {
        const std::uint32_t p = src[i];
        const std::uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
        dst[i] = (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
    }
}

// Whether SDL_VIDEODRIVER (a comma-separated list) names the driver.
bool driverAskedFor(const char* driver)
{
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    std::string_view list = asked ? asked : "";
    while (!list.empty()) {
        const auto comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (name.size() == std::string_view(driver).size() &&
            SDL_strncasecmp(name.data(), driver, name.size()) == 0)
            return true;
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return false;
}

// When no display answers, SDL falls back on drivers that show nothing: the
// game would run unseen. They are taken only when asked for by name.
bool invisibleDriverNotAskedFor(const char* driver)
{
    if (!driver) return false;
    if (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0) return false;
    return !driverAskedFor(driver);
}

}  // namespace

struct SdlPlatform::Impl {
    bool videoUp = false;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    std::weak_ptr<DisplayDevice> device;
    bool fullscreen = true;
    bool swallowEnterUp = false;
    SdlPads pads;

    void destroyRenderer()
    {
        if (texture) SDL_DestroyTexture(texture);
        texture = nullptr;
        if (renderer) SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }

    bool makeTexture()
    {
        if (texture) SDL_DestroyTexture(texture);
        // 32 bits a pixel: every renderer takes it without converting, and
        // widening the game's 16-bit pixels ourselves is cheaper than
        // letting a software renderer do it.
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    kWidth, kHeight);
        return texture != nullptr;
    }

    void toggleFullscreen()
    {
        if (!window) return;
        fullscreen = !fullscreen;
        SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        if (!fullscreen) {
            SDL_SetWindowSize(window, kWidth, kHeight);
            SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
    }

    // Turns one SDL event into the game's messages.
    void translate(const SDL_Event& e, Platform& p)
    {
        if (pads.translate(e, p)) return;
        switch (e.type) {
        case SDL_QUIT: p.postMessage({WM_CLOSE, 0}); break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) p.postMessage({WM_CLOSE, 0});
            if (e.window.event == SDL_WINDOWEVENT_MINIMIZED) p.postMessage({WM_ACTIVATE, kActivateMinimized});
            if (e.window.event == SDL_WINDOWEVENT_RESTORED) p.postMessage({WM_ACTIVATE, 1});
            break;
        case SDL_KEYDOWN: {
            const SDL_Scancode sc = e.key.keysym.scancode;
            if ((sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER) && (e.key.keysym.mod & KMOD_ALT)) {
                if (!e.key.repeat) toggleFullscreen();
                swallowEnterUp = true;
                break;
            }
            if (int vk = virtualKeyFromScancode(sc)) p.postMessage({WM_KEYDOWN, static_cast<std::uint32_t>(vk)});
            break;
        }
        case SDL_KEYUP: {
            const SDL_Scancode sc = e.key.keysym.scancode;
            if ((sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER) && swallowEnterUp) {
                swallowEnterUp = false;
                break;
            }
            if (int vk = virtualKeyFromScancode(sc)) p.postMessage({WM_KEYUP, static_cast<std::uint32_t>(vk)});
            break;
        }
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            // The textures are gone: the game's next blit or flip learns that
            // its surfaces were lost and reloads every picture.
            if (auto d = device.lock()) d->loseSurfaces();
            if (renderer) makeTexture();
            break;
        default: break;
        }
    }
};

SdlPlatform::SdlPlatform() : impl_(std::make_unique<Impl>()) {}

SdlPlatform::~SdlPlatform()
{
    // The mixer closes before SDL itself goes.
    sound_.reset();
    releaseDisplay();
    destroyWindow();
    impl_->pads.stop();
    if (impl_->videoUp) SDL_Quit();
}

bool SdlPlatform::createWindow(const char* title)
{
    if (!impl_->videoUp) {
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "Inkblot Fighter: the window could not be created: %s\n", SDL_GetError());
            return false;
        }
        impl_->videoUp = true;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (invisibleDriverNotAskedFor(driver)) {
            std::fprintf(stderr,
                         "Inkblot Fighter: the window could not be created: no display answered "
                         "(is DISPLAY set?); SDL offered only its \"%s\" video driver, which shows "
                         "nothing\n",
                         driver);
            SDL_Quit();
            impl_->videoUp = false;
            return false;
        }
        impl_->pads.start();
    }
    // At (0, 0) and as large as the desktop, so the game covers the screen
    // even where no window manager honours the full-screen request.
    SDL_DisplayMode desktop{};
    int w = kWidth, h = kHeight;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
        w = desktop.w;
        h = desktop.h;
    }
    impl_->window = SDL_CreateWindow(title, 0, 0, w, h, SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_HIDDEN);
    if (!impl_->window) {
        std::fprintf(stderr, "Inkblot Fighter: the window could not be created: %s\n", SDL_GetError());
        return false;
    }
    impl_->fullscreen = true;
    SDL_ShowCursor(SDL_DISABLE);
#ifdef INKBLOT_HAVE_ICON
    // 32 x 32 RGBA bytes, rows from the top.
    if (SDL_Surface* icon = SDL_CreateRGBSurfaceFrom(const_cast<unsigned char*>(kInkblotIconRgba),
                                                     kInkblotIconSize, kInkblotIconSize, 32,
                                                     kInkblotIconSize * 4, 0x000000FF, 0x0000FF00,
                                                     0x00FF0000, 0xFF000000)) {
        SDL_SetWindowIcon(impl_->window, icon);
        SDL_FreeSurface(icon);
    }
#endif
    return true;
}

void SdlPlatform::showWindow()
{
    if (!impl_->window) return;
    SDL_ShowWindow(impl_->window);
    SDL_RaiseWindow(impl_->window);
}

void SdlPlatform::destroyWindow()
{
    // The renderer and its texture belong to the window: they go first.
    impl_->destroyRenderer();
    if (impl_->window) SDL_DestroyWindow(impl_->window);
    impl_->window = nullptr;
}

HRESULT SdlPlatform::directDrawCreate(std::shared_ptr<DisplayDevice>& out)
{
    out.reset();
    // Nearest-neighbour scaling; the hint must be set before the texture exists.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    impl_->renderer = SDL_CreateRenderer(impl_->window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!impl_->renderer) impl_->renderer = SDL_CreateRenderer(impl_->window, -1, SDL_RENDERER_SOFTWARE);
    if (!impl_->renderer) {
        std::fprintf(stderr, "Inkblot Fighter: no renderer: %s\n", SDL_GetError());
        return DDERR_GENERIC;
    }
    out = std::make_shared<DisplayDevice>();
    impl_->device = out;
    return DD_OK;
}

HRESULT SdlPlatform::setCooperativeLevel()
{
    // The window is full screen already; there is nothing to take.
    return impl_->window ? DD_OK : DDERR_GENERIC;
}

HRESULT SdlPlatform::setDisplayMode(int width, int height, int)
{
    if (SDL_RenderSetLogicalSize(impl_->renderer, width, height) != 0) return DDERR_GENERIC;
    return impl_->makeTexture() ? DD_OK : DDERR_GENERIC;
}

HRESULT SdlPlatform::createPrimarySurface(DisplayDevice& device, std::shared_ptr<Surface>& out)
{
    return device.createSurface(kWidth, kHeight, out);
}

HRESULT SdlPlatform::getAttachedSurface(Surface& primary, std::shared_ptr<Surface>& out)
{
    HRESULT r = primary.device().createSurface(primary.width(), primary.height(), out);
    if (r == DD_OK) primary.attachBackBuffer(out);
    return r;
}

void SdlPlatform::releaseDisplay()
{
    impl_->destroyRenderer();
    if (impl_->window && impl_->fullscreen) {
        SDL_SetWindowFullscreen(impl_->window, 0);
        impl_->fullscreen = false;
    }
}

void SdlPlatform::presentFrame(const Surface& front)
{
    if (!impl_->renderer || !impl_->texture) return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(impl_->texture, nullptr, &pixels, &pitch) != 0) return;
    for (int y = 0; y < kHeight && y < front.height(); ++y)
        widenRow(front.data() + static_cast<size_t>(y) * front.width(),
                 reinterpret_cast<std::uint32_t*>(static_cast<char*>(pixels) + static_cast<size_t>(y) * pitch),
                 std::min(kWidth, front.width()));
    SDL_UnlockTexture(impl_->texture);
    SDL_SetRenderDrawColor(impl_->renderer, 0, 0, 0, 255);
    SDL_RenderClear(impl_->renderer);
    SDL_RenderCopy(impl_->renderer, impl_->texture, nullptr, nullptr);
    SDL_RenderPresent(impl_->renderer);
}

bool SdlPlatform::peekMessage()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) impl_->translate(e, *this);
    return !queue_.empty();
}

void SdlPlatform::waitMessage()
{
    while (queue_.empty()) {
        SDL_Event e;
        if (!SDL_WaitEvent(&e)) {
            // The event system is gone: nothing can wake the game any more.
            postQuitMessage(0);
            return;
        }
        impl_->translate(e, *this);
    }
}

void SdlPlatform::setPadSetup(const PadSetup& setup) { impl_->pads.setSetup(setup); }

std::string SdlPlatform::padName(int pad) const { return impl_->pads.name(pad); }

std::uint32_t SdlPlatform::timeGetTime() { return SDL_GetTicks(); }

void SdlPlatform::sleep(std::uint32_t ms) { SDL_Delay(ms); }

void SdlPlatform::messageBox(const std::string& text, const char* caption)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    if (impl_->window && impl_->fullscreen) {
        SDL_SetWindowFullscreen(impl_->window, 0);
        impl_->fullscreen = false;
    }
    if (impl_->videoUp) SDL_ShowSimpleMessageBox(0, caption, text.c_str(), impl_->window);
}

}  // namespace ib
