#include "sim/frame_trace.h"

#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_tables.h"
#include "particles/emitter.h"

#include <cmath>
#include <cstdio>

namespace vastorim {
namespace {

// Builds one JSON object; numbers in the game's standard text form, so the same run writes the
// same bytes on every machine and locale.
class JsonObject {
  public:
    JsonObject& field(const char* name, double value) {
        key(name);
        text += std::isfinite(value) ? numberToText(value) : "null";
        return *this;
    }
    JsonObject& field(const char* name, std::int64_t value) {
        key(name);
        text += std::to_string(value);
        return *this;
    }
    JsonObject& field(const char* name, int value) {
        return field(name, static_cast<std::int64_t>(value));
    }
    JsonObject& field(const char* name, bool value) {
        key(name);
        text += value ? "true" : "false";
        return *this;
    }
    JsonObject& field(const char* name, const std::string& value) {
        key(name);
        quoted(value);
        return *this;
    }
    JsonObject& raw(const char* name, const std::string& json) {
        key(name);
        text += json;
        return *this;
    }
    std::string close() { return text + "}"; }

  private:
    void key(const char* name) {
        text += text.size() > 1 ? ",\"" : "\"";
        text += name;
        text += "\":";
    }
    void quoted(const std::string& value) {
        text += '"';
        for (unsigned char c : value) {
            if (c == '"' || c == '\\') {
                text += '\\';
                text += static_cast<char>(c);
            } else if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                text += escaped;
            } else {
                text += static_cast<char>(c);
            }
        }
        text += '"';
    }
    std::string text = "{";
};

std::string shipsJson() {
    std::string json = "[";
    for (const Ship& ship : world.ships) {
        const Particle& p = ship.particle;
        if (json.size() > 1) {
            json += ",";
        }
        json += JsonObject()
                    .field("x", p.x)
                    .field("y", p.y)
                    .field("angle", static_cast<double>(p.angle))
                    .field("damage", static_cast<double>(p.damage))
                    .field("vx", p.speedX.getValue(0))
                    .field("vy", p.speedY.getValue(0))
                    .field("w1", static_cast<int>(ship.weapon1Level))
                    .field("w2", static_cast<int>(ship.weapon2Level))
                    .field("w3", static_cast<int>(ship.weapon3Level))
                    .close();
    }
    return json + "]";
}

template <class Slot>
int occupied(const std::vector<Slot>& table, std::int16_t last, std::int16_t Slot::*marker) {
    int count = 0;
    for (int i = 0; i <= last; ++i) {
        count += table[i].*marker != kFreeSlot;
    }
    return count;
}

} // namespace

std::string traceLine(std::int64_t frame, std::int64_t tick, int drawCalls) {
    return JsonObject()
        .field("frame", frame)
        .field("tick", tick)
        .field("gameMode", static_cast<int>(globals.gameMode))
        .field("menuScreen", static_cast<int>(globals.menuScreen))
        .field("menuCursor", static_cast<int>(globals.menuCursor))
        .field("screenStep", static_cast<int>(globals.screenStep))
        .field("gamePaused", globals.gamePaused)
        .field("finalTime", static_cast<int>(globals.finalTime))
        .field("elapsed", static_cast<int>(elapsedGameTime()))
        .field("globalFade", static_cast<double>(globals.globalFade))
        .field("musicFrequency", music.musicFrequency)
        .field("playPos", static_cast<int>(music.playPos))
        .field("halfBeat", music.halfBeatFlag)
        .field("beat", music.beatFlag)
        .field("twoBeat", music.twoBeatFlag)
        .field("fourBeat", music.fourBeatFlag)
        .raw("ships", shipsJson())
        .field("asteroids", occupied(world.asteroids, world.lastAsteroid, &Asteroid::size))
        .field("shots", occupied(world.shots, world.lastShot, &Shot::owner))
        .field("pickups", world.lastPickup + 1)
        .field("particles", static_cast<int>(emitter.getParticles()))
        .field("drawCalls", drawCalls)
        .field("playerName", globals.playerName)
        .field("scorePlace", static_cast<int>(world.scorePlace))
        .close();
}

} // namespace vastorim
