// Serial port search.
#include "serial/PortSearch.h"

#include <chrono>
#include <thread>

#include "core/Prompter.h"
#include "serial/ComPortMap.h"
#include "serial/SerialLink.h"

namespace velkor {

int PortSearch::run(SerialLink& link, const std::vector<std::string>& ports,
                    const std::string& speed, Prompter& prompter) {
    const std::string mode = speed + ",n,8,1";
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (!link.open(ComPortMap::portNumber(ports[i]), mode, false)) {
            prompter.message(kComError);
            return -1;
        }
        link.writeByte(0x61);
        if (link.takeError() != 0) {
            prompter.message(kComError);
            link.close();
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kAnswerDelayMs));
        if (link.readByte() == 0x24) {
            link.writeByte(0x30);
            const bool failed = link.takeError() != 0;
            link.close();
            if (failed) {
                prompter.message(kComError);
                return -1;
            }
            return static_cast<int>(i);
        }
        link.close();
    }
    prompter.message(kNotFound);
    return -1;
}

}  // namespace velkor
