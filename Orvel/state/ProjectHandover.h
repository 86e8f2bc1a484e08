#pragma once
// One project file has one writer at a time. While the background pass brings a project up to date it
// holds that project; a workspace that comes to show it asks the pass to stop and reads the project
// once the pass's last write is done. Main thread only.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvel {

class ProjectHandover {
  public:
    // The pass starts writing the project of the app (by bundle identifier) in `language`; `stop` asks
    // it to end early. A pass writes one project at a time.
    void begin(std::string app, std::string language, std::function<void()> stop);
    // The pass has written that project for the last time: whoever waits for it takes it now.
    void end();

    bool isWriting(const std::string& app, const std::string& language) const;
    // Asks the pass to stop writing the project and runs `take` once it has ended; runs `take` at once
    // when the pass does not write it.
    void takeOver(const std::string& app, const std::string& language, std::function<void()> take);

  private:
    struct Held {
        std::string app;
        std::string language;
        std::function<void()> stop;
        std::vector<std::function<void()>> waiting;
    };
    std::optional<Held> m_held;
};

} // namespace orvel
