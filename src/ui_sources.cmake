# Files that need Qt Widgets or PrintSupport; they build into vennic_ui. Paths relative to src/.
set(VENNIC_UI_SOURCES
    app/mainform.h
    app/mainform.cpp
)
