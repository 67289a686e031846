#include "platform/linux/UdevDevices.h"

#include <libudev.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

namespace platform {

namespace {

struct UdevDeleter {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
  void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

UdevRecord RecordOf(udev_device* device) {
  UdevRecord record;
  if (const char* path = udev_device_get_devpath(device))
    record.devpath = path;
  for (udev_list_entry* entry = udev_device_get_properties_list_entry(device); entry;
       entry = udev_list_entry_get_next(entry)) {
    const char* value = udev_list_entry_get_value(entry);
    record.properties[udev_list_entry_get_name(entry)] = value ? value : "";
  }
  // Without a udev database the properties lack what udev's rules add.
  for (const char* name : {"serial", "product", "manufacturer"}) {
    if (const char* value = udev_device_get_sysattr_value(device, name)) {
      record.attributes[name] = value;
    }
  }
  return record;
}

}  // namespace

std::vector<UdevRecord> EnumerateUdev(const std::vector<const char*>& subsystems) {
  std::vector<UdevRecord> records;
  const UdevPtr<udev> context(udev_new());
  if (!context)
    return records;
  const UdevPtr<udev_enumerate> enumerate(udev_enumerate_new(context.get()));
  if (!enumerate)
    return records;
  for (const char* subsystem : subsystems) {
    udev_enumerate_add_match_subsystem(enumerate.get(), subsystem);
  }
  if (udev_enumerate_scan_devices(enumerate.get()) < 0)
    return records;
  for (udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate.get()); entry;
       entry = udev_list_entry_get_next(entry)) {
    const UdevPtr<udev_device> device(
        udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
    if (device)
      records.push_back(RecordOf(device.get()));
  }
  return records;
}

WmiProvider PnpEntityProvider() {
  return [] { return PnpEntitiesFromUdev(EnumerateUdev({"usb"})); };
}

std::vector<std::pair<std::string, std::string>> LinuxSerialComm() {
  return SerialCommFromUdev(EnumerateUdev({"tty"}));
}

struct UdevDeviceEvents::Monitor {
  UdevPtr<udev> context;
  UdevPtr<udev_monitor> monitor;
  QPointer<QSocketNotifier> notifier;
  std::vector<Handler> handlers;

  void Open() {
    context.reset(udev_new());
    if (!context)
      return;
    // The daemon's events come once the device is set up; without a daemon
    // only the kernel's are there.
    const char* source = ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
    monitor.reset(udev_monitor_new_from_netlink(context.get(), source));
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "usb", "usb_device") < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "block", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0) {
      monitor.reset();
      return;
    }
    // Owned by the application, so it goes before the event dispatcher does.
    notifier = new QSocketNotifier(udev_monitor_get_fd(monitor.get()), QSocketNotifier::Read,
                                   QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this] { Drain(); });
  }

  void Drain() {
    bool changed = false;
    while (const UdevPtr<udev_device> device{udev_monitor_receive_device(monitor.get())}) {
      changed = true;
    }
    if (!changed)
      return;
    // A handler may subscribe another one.
    const std::vector<Handler> current = handlers;
    for (const Handler& handler : current)
      handler();
  }
};

UdevDeviceEvents::UdevDeviceEvents() : monitor_(std::make_shared<Monitor>()) {}

UdevDeviceEvents::~UdevDeviceEvents() {
  delete monitor_->notifier.data();
}

void UdevDeviceEvents::Subscribe(Handler handler) {
  if (!monitor_->context && QCoreApplication::instance())
    monitor_->Open();
  monitor_->handlers.push_back(std::move(handler));
}

}  // namespace platform
