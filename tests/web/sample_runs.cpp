// Writes the recordings the board's browser test sends, one session of one
// game each: a seeded player types the name, picks the level, plays for a
// while and leaves with Esc. The same arguments write the same bytes.
//   board_sample_runs DIR   writes DIR/1.replay, DIR/2.replay, ...
#include "support/session_keys.hpp"

#include <deque>
#include <fstream>
#include <iostream>
#include <string>

namespace {

struct Sample {
    std::string name;
    char level;
    unsigned seed;
    std::int64_t play_ms; // of the game's own time before Esc
};

// The player of the bench's long sessions, cut to one game.
class OneGamePlayer : public console::MemoryPlatform, public game::Observador {
  public:
    explicit OneGamePlayer(const Sample& s) : sample_(s), draw_(s.seed) {}

    bool kbhit() override {
        if (keys_left() == 0 && playing_) {
            const unsigned d = draw_.next();
            if (now_ms() >= started_ms_ + sample_.play_ms)
                push_key(27, now_ms());
            else if (d % 5 < 3)
                push_key(teste::KeyDraw::play_key(d), now_ms());
        }
        return MemoryPlatform::kbhit();
    }
    int getch() override {
        if (keys_left() == 0) {
            push_key(answers_.empty() ? 'x' : answers_.front(), now_ms());
            if (!answers_.empty())
                answers_.pop_front();
        }
        return MemoryPlatform::getch();
    }
    void partida_comeca() override {
        const std::string start = "1" + sample_.name + "\r" + sample_.level;
        answers_.assign(start.begin(), start.end());
        started_ms_ = now_ms();
        playing_ = true;
    }
    void partida_termina(const game::Resultado&) override {
        playing_ = false;
        answers_.clear();
    }

  private:
    Sample sample_;
    teste::KeyDraw draw_;
    std::deque<int> answers_;
    std::int64_t started_ms_ = 0;
    bool playing_ = false;
};

std::string record(const Sample& sample, std::int64_t epoch_seconds) {
    OneGamePlayer player(sample);
    player.set_time(epoch_seconds);
    return teste::recorded_session(player);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: board_sample_runs DIR\n";
        return 2;
    }
    const Sample samples[] = {
        {"Ana", '1', 7, 30'000},
        {"<img src=x onerror=alert(1)>", '2', 11, 20'000},
        {"Bia", '1', 23, 12'000},
    };
    std::int64_t epoch = 1'765'000'000;
    int n = 0;
    for (const Sample& s : samples) {
        std::ofstream file(std::string(argv[1]) + "/" + std::to_string(++n) + ".replay",
                           std::ios::binary);
        file << record(s, epoch += 3600);
        if (!file) {
            std::cerr << "board_sample_runs: cannot write in " << argv[1] << "\n";
            return 1;
        }
    }
    return 0;
}
