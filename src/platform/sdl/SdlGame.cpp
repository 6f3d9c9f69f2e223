#include "platform/sdl/SdlGame.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "game/MainForm.h"
#include "platform/font/FontRasteriser.h"
#include "platform/sdl/KeyMap.h"
#include "platform/sdl/SdlAudioOutput.h"

namespace kelvane {
namespace {

class SdlPresenter : public IPresenter {
public:
    SdlPresenter(SDL_Window* window, SDL_Renderer* renderer, SDL_Texture* texture)
        : window_(window), renderer_(renderer), texture_(texture) {}

    bool CanDraw() override { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) == 0; }

    void Present(const uint32_t* pixels, int width, int /*height*/) override {
        SDL_UpdateTexture(texture_, nullptr, pixels, width * static_cast<int>(sizeof(uint32_t)));
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

private:
    SDL_Window* window_;
    SDL_Renderer* renderer_;
    SDL_Texture* texture_;
};

class SdlClock : public IClock {
public:
    uint64_t Milliseconds() override { return SDL_GetTicks64(); }
};

class SdlSleeper : public ISleeper {
public:
    void Sleep(uint32_t milliseconds) override { SDL_Delay(milliseconds); }
};

class SdlPointer : public IPointer {
public:
    void HideCursor() override { SDL_ShowCursor(SDL_DISABLE); }
    void GetCursorPos(int32_t& x, int32_t& y) override {
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        x = gx;
        y = gy;
    }
};

// Without a sound card the game still starts and plays silently; a line on stderr says why.
class SoundOrSilence : public IAudioOutput {
public:
    AudioFormat Open(PullFunction pull) override {
        try {
            silent_ = false;
            return sound_.Open(std::move(pull));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "kelvane: playing without sound: %s\n", error.what());
            silent_ = true;
            return AudioFormat{};
        }
    }
    void Close() override {
        if (!silent_) sound_.Close();
    }
    void Lock() override {
        if (!silent_) sound_.Lock();
    }
    void Unlock() override {
        if (!silent_) sound_.Unlock();
    }

private:
    SdlAudioOutput sound_;
    bool silent_ = false;
};

struct SdlHandles {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    ~SdlHandles() {
        if (texture) SDL_DestroyTexture(texture);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
    }
};

void HandleEvent(const SDL_Event& event, TMainForm& form, bool& active, bool& quit) {
    switch (event.type) {
        case SDL_QUIT:
            if (form.Closing()) quit = true;
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) active = false;
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) active = true;
            break;
        case SDL_KEYDOWN: {
            // Auto-repeated key-downs count like any other.
            const SDL_Keysym& sym = event.key.keysym;
            const uint16_t key = VirtualKeyFromSdl(sym.scancode, sym.sym, sym.mod);
            if (key != 0) {
                form.KeyPressed(key, ShiftStateFromSdl(sym.scancode, sym.mod, SDL_GetMouseState(nullptr, nullptr)));
            }
            break;
        }
        case SDL_MOUSEBUTTONDOWN: {
            int button = -1;
            if (event.button.button == SDL_BUTTON_LEFT) button = 0;
            if (event.button.button == SDL_BUTTON_RIGHT) button = 1;
            if (event.button.button == SDL_BUTTON_MIDDLE) button = 2;
            if (button >= 0) {
                form.MouseClick(button, ShiftStateFromSdl(SDL_SCANCODE_UNKNOWN, SDL_GetModState(), 0),
                                event.button.x, event.button.y);
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace

int RunSdlGame(const std::string& gameDir, const PlayerFolders& folders) {
    SDL_SetHint(SDL_HINT_APP_NAME, TMainForm::ApplicationTitle);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "kelvane: cannot open a display: %s\n", SDL_GetError());
        return 1;
    }
    SdlHandles sdl;
    sdl.window = SDL_CreateWindow(TMainForm::Caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  ScreenWidth, ScreenHeight, SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    if (!sdl.window) {
        std::fprintf(stderr, "kelvane: cannot open the game window: %s\n", SDL_GetError());
        return 1;
    }
    sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_ACCELERATED);
    if (!sdl.renderer) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_SOFTWARE);
    if (!sdl.renderer) {
        std::fprintf(stderr, "kelvane: cannot draw into the game window: %s\n", SDL_GetError());
        return 1;
    }
    // The 1024 x 768 picture is scaled to the screen with its aspect kept (black bars).
    SDL_RenderSetLogicalSize(sdl.renderer, ScreenWidth, ScreenHeight);
    sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                                    ScreenWidth, ScreenHeight);
    if (!sdl.texture) {
        std::fprintf(stderr, "kelvane: cannot create the screen surface: %s\n", SDL_GetError());
        return 1;
    }
    SDL_StopTextInput();

    std::unique_ptr<IFontRasteriser> font;
    try {
        font = MakeFontRasteriser();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvane: %s\n", error.what());
        return 1;
    }

    SdlPresenter presenter(sdl.window, sdl.renderer, sdl.texture);
    SdlClock clock;
    SdlSleeper sleeper;
    SdlPointer pointer;
    SoundOrSilence audio;
    MainFormServices services;
    services.Presenter = &presenter;
    services.Font = font.get();
    services.Audio = &audio;
    services.Clock = &clock;
    services.Sleeper = &sleeper;
    services.Pointer = &pointer;
    services.GameDir = gameDir;
    services.Folders = folders;
    auto form = std::make_unique<TMainForm>(services);

    // A window starts active, so the game also ticks where no window manager gives focus.
    bool active = true;
    bool quit = false;
    while (!quit) {
        SDL_Event event;
        const uint32_t wait = active ? form->MainTimer.MillisecondsToNextTick() : 100;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(wait))) {
            HandleEvent(event, *form, active, quit);
            while (SDL_PollEvent(&event)) HandleEvent(event, *form, active, quit);
        }
        if (quit) break;
        if (active && form->MainTimer.Due()) {
            form->TimerTick();
            if (form->StartError()) {
                std::fprintf(stderr, "kelvane: the game cannot start: %s\n", form->StartError()->c_str());
                return 1;
            }
            if (form->CloseRequested() && form->Closing()) quit = true;
        }
    }
    return 0;
}

}  // namespace kelvane
