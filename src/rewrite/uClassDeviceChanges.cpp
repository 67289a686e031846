#include "rewrite/uClassDeviceChanges.h"

#include "platform/Platform.h"

TClassDeviceChanges::TClassDeviceChanges(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ClassDeviceChanges"));
  if (const auto& events = platform::Current().deviceEvents) {
    // The window may be destroyed before the platform's event source.
    events->Subscribe([self = QPointer<TClassDeviceChanges>(this)] {
      if (self) {
        self->WMDeviceChange();
      }
    });
  }
}

void TClassDeviceChanges::WMDeviceChange() {
  if (fownerExecuteAction == 0 && tickStartFirstPass_) {
    tickStartFirstPass_->start();
  }
}
