// Text through SDL2_ttf onto the video's SDL renderer. Each line is rasterised once per size in
// white and kept as a texture; colour and alpha are applied when it is copied.

#include "platform/sdl_video_internal.h"
#include "platform/system_font.h"
#include "platform/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <unordered_map>

namespace vastorim::platform {

namespace {

constexpr int screenDpi = 96;
constexpr std::size_t maxFonts = 8;
constexpr std::size_t maxLines = 512;

bool isFont(const std::string& path) {
    TTF_Font* font = TTF_OpenFont(path.c_str(), 12);
    if (font == nullptr) {
        return false;
    }
    TTF_CloseFont(font);
    return true;
}

// The cache entry unused the longest (the first of them on a tie).
// The smallest box that holds both.
TextBox widened(const TextBox& box, const SDL_Rect& rect) {
    const TextBox added{rect.x, rect.y, rect.x + rect.w, rect.y + rect.h};
    if (box.right <= box.left || box.bottom <= box.top) {
        return added;
    }
    return {std::min(box.left, added.left), std::min(box.top, added.top),
            std::max(box.right, added.right), std::max(box.bottom, added.bottom)};
}

template <typename Cache> auto leastRecentlyUsed(Cache& cache) {
    return std::min_element(cache.begin(), cache.end(), [](const auto& a, const auto& b) {
        return a.second.lastUse < b.second.lastUse;
    });
}

class SdlTextRenderer : public TextRenderer {
  public:
    explicit SdlTextRenderer(Video& video) : video_(video) {
        if (TTF_Init() != 0) {
            std::cerr << "No text: " << TTF_GetError() << '\n';
        }
    }

    ~SdlTextRenderer() override {
        forgetLines(drawingRendererOf(video_) == linesRenderer_);
        forgetFonts();
        TTF_Quit();
    }

    bool setFace(const std::string& path) override {
        forgetLines(drawingRendererOf(video_) == linesRenderer_);
        forgetFonts();
        if (isFont(path)) {
            face_ = path;
            faceChosen_ = true;
            return true;
        }
        useSystemFace();
        std::cerr << "The font " << path << " is missing; text uses "
                  << (face_.empty() ? std::string("no face") : face_) << " instead.\n";
        return false;
    }

    void setPointSize(int points) override { points_ = points; }

    DrawnText drawText(std::string_view text, const TextBox& box, TextAlign align,
                       std::uint32_t argb) override {
        DrawnText drawn;
        SDL_Renderer* renderer = drawingRendererOf(video_);
        TTF_Font* font = currentFont();
        if (renderer == nullptr || font == nullptr) {
            return drawn;
        }
        if (renderer != linesRenderer_) {
            forgetLines(false); // the old renderer took its textures with it
            linesRenderer_ = renderer;
        }
        const SDL_Rect clip{box.left, box.top, box.right - box.left, box.bottom - box.top};
        if (clip.w <= 0 || clip.h <= 0) {
            return drawn;
        }
        SDL_Rect previousClip;
        SDL_RenderGetClipRect(renderer, &previousClip);
        const bool wasClipped = SDL_RenderIsClipEnabled(renderer) == SDL_TRUE;
        SDL_RenderSetClipRect(renderer, &clip);

        int y = box.top;
        const int lineSkip = TTF_FontLineSkip(font);
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            const SDL_Rect line = drawLine(renderer, font, text.substr(start, end - start), box,
                                           align, y, argb, drawn.narrowed);
            SDL_Rect shown{0, 0, 0, 0};
            if (SDL_IntersectRect(&line, &clip, &shown) == SDL_TRUE) {
                drawn.covered = widened(drawn.covered, shown);
            }
            drawn.cutOff = drawn.cutOff || (line.w > 0 && !SDL_RectEquals(&line, &shown));
            y += lineSkip;
            if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
                text[end + 1] == '\n') {
                ++end;
            }
            start = end + 1;
        }
        SDL_RenderSetClipRect(renderer, wasClipped ? &previousClip : nullptr);
        return drawn;
    }

    TextCacheStats stats() const override { return {rasterised_, lines_.size(), fonts_.size()}; }

  private:
    struct Line {
        SDL_Texture* texture = nullptr;
        int width = 0;
        int height = 0;
        std::uint64_t lastUse = 0;
    };
    struct Font {
        TTF_Font* font = nullptr;
        std::uint64_t lastUse = 0;
    };

    void useSystemFace() {
        face_ = findSystemFont();
        faceChosen_ = true;
    }

    TTF_Font* currentFont() {
        auto found = fonts_.find(points_);
        if (found == fonts_.end()) {
            if (!faceChosen_) {
                useSystemFace();
            }
            if (face_.empty() || points_ <= 0) {
                return nullptr;
            }
            TTF_Font* opened = TTF_OpenFontDPI(face_.c_str(), points_, screenDpi, screenDpi);
            if (opened == nullptr) {
                return nullptr;
            }
            evictOldestFont();
            found = fonts_.emplace(points_, Font{opened, 0}).first;
        }
        found->second.lastUse = ++uses_;
        return found->second.font;
    }

    // The line's place on the surface, before clipping; empty when nothing was drawn.
    SDL_Rect drawLine(SDL_Renderer* renderer, TTF_Font* font, std::string_view text,
                      const TextBox& box, TextAlign align, int y, std::uint32_t argb,
                      bool& narrowed) {
        if (text.empty()) {
            return {0, 0, 0, 0};
        }
        const Line* line = cachedLine(renderer, font, text);
        if (line == nullptr) {
            return {0, 0, 0, 0};
        }
        // A line wider than its box (a long time or a name of wide letters in a fixed column) is
        // drawn smaller, centred on its line's height, rather than losing its last letters.
        int width = line->width;
        int height = line->height;
        const int room = box.right - box.left;
        if (width > room) {
            height = std::max(1, line->height * room / line->width);
            width = room;
            narrowed = true;
        }
        int x = box.left;
        if (align == TextAlign::Centre) {
            x = box.left + (room - width) / 2;
        } else if (align == TextAlign::Right) {
            x = box.right - width;
        }
        SDL_SetTextureColorMod(line->texture, (argb >> 16) & 0xff, (argb >> 8) & 0xff, argb & 0xff);
        SDL_SetTextureAlphaMod(line->texture, argb >> 24);
        const SDL_Rect target{x, y + (line->height - height) / 2, width, height};
        SDL_RenderCopy(renderer, line->texture, nullptr, &target);
        return target;
    }

    const Line* cachedLine(SDL_Renderer* renderer, TTF_Font* font, std::string_view text) {
        lineKey_.clear();
        lineKey_.append(std::to_string(points_)).append(1, '\n').append(text);
        auto found = lines_.find(lineKey_);
        if (found == lines_.end()) {
            const std::string line(text);
            SDL_Surface* surface =
                TTF_RenderText_Blended(font, line.c_str(), SDL_Color{255, 255, 255, 255});
            if (surface == nullptr) {
                return nullptr;
            }
            SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
            const Line made{texture, surface->w, surface->h, 0};
            SDL_FreeSurface(surface);
            if (texture == nullptr) {
                return nullptr;
            }
            ++rasterised_;
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
            evictOldestLine();
            found = lines_.emplace(lineKey_, made).first;
        }
        found->second.lastUse = ++uses_;
        return &found->second;
    }

    // Caches stay bounded: the entry unused the longest makes room.
    void evictOldestLine() {
        if (lines_.size() < maxLines) {
            return;
        }
        auto oldest = leastRecentlyUsed(lines_);
        SDL_DestroyTexture(oldest->second.texture);
        lines_.erase(oldest);
    }

    void evictOldestFont() {
        if (fonts_.size() < maxFonts) {
            return;
        }
        auto oldest = leastRecentlyUsed(fonts_);
        const std::string prefix = std::to_string(oldest->first) + '\n';
        std::erase_if(lines_, [&](const auto& entry) {
            if (!entry.first.starts_with(prefix)) {
                return false;
            }
            SDL_DestroyTexture(entry.second.texture);
            return true;
        });
        TTF_CloseFont(oldest->second.font);
        fonts_.erase(oldest);
    }

    void forgetLines(bool destroyTextures) {
        if (destroyTextures) {
            for (auto& [key, line] : lines_) {
                SDL_DestroyTexture(line.texture);
            }
        }
        lines_.clear();
    }

    void forgetFonts() {
        for (auto& [points, font] : fonts_) {
            TTF_CloseFont(font.font);
        }
        fonts_.clear();
    }

    Video& video_;
    std::string face_;
    bool faceChosen_ = false;
    int points_ = 24;
    std::map<int, Font> fonts_;
    std::unordered_map<std::string, Line> lines_;
    // Kept from call to call, so that finding a line already drawn allocates nothing.
    std::string lineKey_;
    SDL_Renderer* linesRenderer_ = nullptr;
    std::uint64_t uses_ = 0;
    std::size_t rasterised_ = 0;
};

} // namespace

std::unique_ptr<TextRenderer> createTextRenderer(Video& video) {
    return std::make_unique<SdlTextRenderer>(video);
}

} // namespace vastorim::platform
