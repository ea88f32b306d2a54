#include "tracking/capture/V4l2CameraLister.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr const char* kNodePrefix = "video";
// Enumerations stop here even if a driver never says it has no more.
constexpr unsigned kMostEntries = 256;
// A driver that offers a range of sizes gets the usual webcam sizes within it.
constexpr FrameSize kUsualSizes[] = {{160, 120}, {320, 240},  {352, 288},  {640, 360},  {640, 480},
                                     {800, 600}, {1024, 768}, {1280, 720}, {1280, 960}, {1920, 1080}};

// A device node opened for its driver's queries, closed with the object.
class DeviceFile {
public:
    explicit DeviceFile(const std::string& path) : m_fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) {}
    ~DeviceFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DeviceFile(const DeviceFile&) = delete;
    DeviceFile& operator=(const DeviceFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    template <typename Argument>
    bool Query(unsigned long request, Argument& argument) const
    {
        int result = 0;
        do
            result = ::ioctl(m_fd, request, &argument);
        while (result == -1 && errno == EINTR);
        return result == 0;
    }

private:
    int m_fd;
};

// The number of a node named video<N>; nothing for other entries.
std::optional<int> NodeNumber(const std::string& entry)
{
    if (entry.rfind(kNodePrefix, 0) != 0 || entry.size() == std::char_traits<char>::length(kNodePrefix))
        return std::nullopt;
    char* end = nullptr;
    const long number = std::strtol(entry.c_str() + std::char_traits<char>::length(kNodePrefix), &end, 10);
    if (*end != '\0' || number < 0)
        return std::nullopt;
    return static_cast<int>(number);
}

// The first line of the node's sysfs "name", without trailing blanks; the entry's name without one.
std::string NodeName(const std::filesystem::path& entry)
{
    std::string name;
    std::getline(std::ifstream(entry / "name"), name);
    name.erase(name.find_last_not_of(" \t\r") + 1);
    return name.empty() ? entry.filename().string() : name;
}

// The node's own capabilities (the whole device's when the driver gives no others); nothing when
// it is no Video4Linux device.
std::optional<std::uint32_t> NodeCapabilities(const DeviceFile& device)
{
    v4l2_capability capability = {};
    if (!device.Query(VIDIOC_QUERYCAP, capability))
        return std::nullopt;
    return (capability.capabilities & V4L2_CAP_DEVICE_CAPS) ? capability.device_caps : capability.capabilities;
}

void AddSizes(const DeviceFile& device, std::uint32_t pixelFormat, std::vector<FrameSize>& sizes)
{
    v4l2_frmsizeenum size = {};
    size.pixel_format = pixelFormat;
    for (size.index = 0; size.index < kMostEntries && device.Query(VIDIOC_ENUM_FRAMESIZES, size); ++size.index) {
        if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            sizes.push_back({static_cast<int>(size.discrete.width), static_cast<int>(size.discrete.height)});
            continue;
        }
        // A range is the format's only entry.
        const v4l2_frmsize_stepwise& range = size.stepwise;
        for (const FrameSize usual : kUsualSizes) {
            const auto fits = [](int value, std::uint32_t low, std::uint32_t high, std::uint32_t step) {
                const auto v = static_cast<std::uint32_t>(value);
                return v >= low && v <= high && (step <= 1 || (v - low) % step == 0);
            };
            if (fits(usual.width, range.min_width, range.max_width, range.step_width) &&
                fits(usual.height, range.min_height, range.max_height, range.step_height))
                sizes.push_back(usual);
        }
        return;
    }
}

// Every size of every capture format, each once, ordered by width, then height.
std::vector<FrameSize> Sizes(const DeviceFile& device)
{
    std::vector<FrameSize> sizes;
    v4l2_fmtdesc format = {};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    for (format.index = 0; format.index < kMostEntries && device.Query(VIDIOC_ENUM_FMT, format); ++format.index)
        AddSizes(device, format.pixelformat, sizes);
    const auto key = [](const FrameSize& size) { return std::pair(size.width, size.height); };
    std::sort(sizes.begin(), sizes.end(), [&key](const FrameSize& a, const FrameSize& b) { return key(a) < key(b); });
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

}  // namespace

V4l2CameraLister::V4l2CameraLister(std::string classFolder, std::string deviceFolder)
    : m_classFolder(std::move(classFolder)), m_deviceFolder(std::move(deviceFolder))
{
}

std::vector<VideoDevice> V4l2CameraLister::Devices()
{
    // By number: video10 comes after video9.
    std::map<int, std::filesystem::path> nodes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_classFolder, error)) {
        if (const std::optional<int> number = NodeNumber(entry.path().filename().string()))
            nodes[*number] = entry.path();
    }

    std::vector<VideoDevice> devices;
    for (const auto& node : nodes) {
        const std::filesystem::path& entry = node.second;
        VideoDevice device;
        device.path = (std::filesystem::path(m_deviceFolder) / entry.filename()).string();
        const DeviceFile file(device.path);
        const std::optional<std::uint32_t> capabilities = file.IsOpen() ? NodeCapabilities(file) : std::nullopt;
        if (!capabilities)
            continue;
        device.capturesVideo = *capabilities & V4L2_CAP_VIDEO_CAPTURE;
        device.name = NodeName(entry);
        if (device.capturesVideo)
            device.sizes = Sizes(file);
        devices.push_back(std::move(device));
    }
    return devices;
}
