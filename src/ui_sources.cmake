# Files that need Qt Widgets or PrintSupport; they build into vennic_ui. Paths relative to src/.
set(VENNIC_UI_SOURCES
    app/ddpanel.h
    app/ddpanel.cpp
    app/mainform.h
    app/mainform.cpp
    app/mainformcontrols.cpp
    platform/imagelists.h
    platform/imagelists.cpp
    platform/panelistview.h
    platform/panelistview.cpp
    platform/tavbutton.h
    platform/tavbutton.cpp
    platform/tavpanel.h
    platform/tavpanel.cpp
    platform/widgetprompts.h
    platform/widgetprompts.cpp
)
