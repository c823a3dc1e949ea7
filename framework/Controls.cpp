// The controls: their property tables (name, kind by way of the default value, and what setting
// the property does to the Qt widget), their events and their operations.
//
// A control outlives its widget when its window closes while something still holds it: every
// applier then finds no widget and does nothing, so setting a property only stores it and every
// getter answers from the stored value.
#include "framework/Controls.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "framework/Picture.h"
#include "framework/Runtime.h"
#include "framework/Window.h"
#include "framework/internal/ControlWidgets.h"
#include "framework/internal/PictureImpl.h"

namespace gui {

using internal::AreaWidget;
using internal::CanvasWidget;
using internal::ControlLink;
using internal::FieldWidget;
using internal::LabelWidget;

struct Control::NativeLink {
  QMetaObject::Connection destroyed;
};

namespace {

// ---- property tables -----------------------------------------------------------------------------

// A row of a control class; its effect is only called while the control has its Qt object.
using Row = PropertyRows::Row<Control>;
using RowList = std::vector<Row>;

template <class W>
W* As(const Control& control) {
  return qobject_cast<W*>(control._Native());
}

int ToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
int Int(const Control& c, const char* name) { return ToInt(c.GetProperty(name).AsInteger()); }
bool Bool(const Control& c, const char* name) { return c.GetProperty(name).AsBoolean(); }
QString Str(const Value& v) { return QString::fromStdString(v.AsString()); }
QColor ToQColor(Color c) { return QColor(c.red, c.green, c.blue); }

// 0 the default (left), 1 left, 2 centred, 3 right.
Qt::Alignment Horizontal(std::int64_t code) {
  switch (code) {
    case 2: return Qt::AlignHCenter;
    case 3: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

// ---- appliers shared by several classes ------------------------------------------------------------

void ApplyName(Control& c, const Value& v) { c._Native()->setObjectName(Str(v)); }

void ApplyFrame(Control& c, const Value&) {
  QWidget* w = As<QWidget>(c);
  const QRect frame(Int(c, "Left"), Int(c, "Top"), std::max(0, Int(c, "Width")), std::max(0, Int(c, "Height")));
  w->setGeometry(frame);
  if (auto* link = dynamic_cast<ControlLink*>(w); link && !link->movingByLocks) {
    link->lockFrame = frame;
    link->lockContent = QSize();
  }
}

void ApplyVisible(Control& c, const Value& v) { As<QWidget>(c)->setVisible(v.AsBoolean()); }
void ApplyEnabled(Control& c, const Value& v) { As<QWidget>(c)->setEnabled(v.AsBoolean()); }
void ApplyTooltip(Control& c, const Value& v) { As<QWidget>(c)->setToolTip(Str(v)); }
void ApplyFocusRing(Control& c, const Value& v) { As<QWidget>(c)->setAttribute(Qt::WA_MacShowFocusRect, v.AsBoolean()); }
// A text entry with TabStop false is still reached by a click.
void ApplyTabStop(Control& c, const Value& v) {
  As<QWidget>(c)->setFocusPolicy(v.AsBoolean() ? Qt::StrongFocus : Qt::ClickFocus);
}

// Points of font size are the layer's points, the unit of every frame: a caption then keeps the
// proportions to its frame that it was laid out with, whatever the screen's dots per inch.
double UnitScale(std::int64_t unit) {
  switch (unit) {
    case 3: return 72.0;         // inches
    case 4: return 72.0 / 25.4;  // millimetres
    default: return 1.0;         // 0 default, 1 pixels, 2 points
  }
}

void ApplyFont(Control& c, const Value&) {
  QFont font = QApplication::font();
  const std::string family = c.GetProperty("FontName").AsString();
  if (!family.empty() && family != "System") font.setFamily(QString::fromStdString(family));
  const double size = c.GetProperty("FontSize").AsDouble() * UnitScale(c.GetProperty("FontUnit").AsInteger());
  if (size > 0) font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
  font.setBold(Bool(c, "Bold"));
  font.setItalic(Bool(c, "Italic"));
  font.setUnderline(Bool(c, "Underline"));
  As<QWidget>(c)->setFont(font);
}

// The text colour in every colour group, so that a disabled control keeps it; a text entry's
// BackgroundColor is its base, painted always.
void ApplyColors(Control& c, const Value&) {
  QWidget* w = As<QWidget>(c);
  QPalette palette = w->palette();
  const QColor text = ToQColor(c.GetProperty("TextColor").AsColor());
  const bool hasBase = c.PropertyKind("BackgroundColor", nullptr);
  const QColor base = hasBase ? ToQColor(c.GetProperty("BackgroundColor").AsColor()) : QColor();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Text, text);
    if (hasBase) {
      palette.setColor(group, QPalette::Base, base);
      palette.setColor(group, QPalette::Window, base);
    }
  }
  w->setPalette(palette);
  if (hasBase) w->setAutoFillBackground(true);
}

// ---- the tables, one a class ----------------------------------------------------------------------

const PropertyRows& ControlRows() {
  static const PropertyRows rows(nullptr, RowList{
      {"Name", "", ApplyName},
      {"Index", -1, nullptr},  // -1: not part of a control array
  });
  return rows;
}

const PropertyRows& RectRows() {
  static const PropertyRows rows(&ControlRows(), RowList{
      {"Left", 0, ApplyFrame},
      {"Top", 0, ApplyFrame},
      {"Width", 100, ApplyFrame},
      {"Height", 100, ApplyFrame},
      {"LockLeft", false, nullptr},
      {"LockTop", false, nullptr},
      {"LockRight", false, nullptr},
      {"LockBottom", false, nullptr},
      {"Visible", true, ApplyVisible},
      {"Enabled", true, ApplyEnabled},
      {"TabIndex", 0, nullptr},  // read by the window when it orders the tab chain
      {"TabStop", true, nullptr},
      {"TabPanelIndex", 0, nullptr},
      {"Tooltip", "", ApplyTooltip},
      {"AllowAutoDeactivate", true, nullptr},
      {"InitialParent", "", nullptr},
      {"DataSource", "", nullptr},
      {"DataField", "", nullptr},
      {"Transparent", false, nullptr},
  });
  return rows;
}

// Font and text colour, shared by the three text controls.
const PropertyRows& TextControlRows() {
  static const PropertyRows rows(&RectRows(), RowList{
      {"FontName", "System", ApplyFont},
      {"FontSize", 0.0, ApplyFont},  // 0: the system font's size
      {"FontUnit", 0, ApplyFont},
      {"Bold", false, ApplyFont},
      {"Italic", false, ApplyFont},
      {"Underline", false, ApplyFont},
      {"TextColor", RGB(0, 0, 0), ApplyColors},
  });
  return rows;
}

const PropertyRows& TextFieldRows() {
  static const PropertyRows rows(&TextControlRows(), RowList{
      {"Value", "",
       [](Control& c, const Value& v) {
         // The whole text, whatever the limit. Text the program puts in is read from its start,
         // also when it equals what the field holds: with the insertion point there, a text
         // wider than the field shows its sign and leading digits, however the field was
         // scrolled before. Equal text is not set again, so the user's undo history stays. What
         // the user types reaches Value another way (KeepNativeValue), never through here.
         auto* f = As<FieldWidget>(c);
         if (f->text() != Str(v)) f->setText(Str(v));
         f->setCursorPosition(0);
       }},
      {"TextAlignment", 0,
       [](Control& c, const Value& v) {
         As<FieldWidget>(c)->setAlignment(Horizontal(v.AsInteger()) | Qt::AlignVCenter);
       }},
      {"BackgroundColor", RGB(255, 255, 255), ApplyColors},
      {"HasBorder", true, [](Control& c, const Value& v) { As<FieldWidget>(c)->setFrame(v.AsBoolean()); }},
      {"ReadOnly", false, [](Control& c, const Value& v) { As<FieldWidget>(c)->setReadOnly(v.AsBoolean()); }},
      {"Password", false,
       [](Control& c, const Value& v) {
         As<FieldWidget>(c)->setEchoMode(v.AsBoolean() ? QLineEdit::Password : QLineEdit::Normal);
       }},
      {"MaximumCharactersAllowed", 0,
       [](Control& c, const Value& v) { As<FieldWidget>(c)->setLimit(std::max(0, ToInt(v.AsInteger()))); }},
      {"AllowTabs", false, [](Control& c, const Value& v) { As<FieldWidget>(c)->setTabsTyped(v.AsBoolean()); }},
      {"TabStop", true, ApplyTabStop},
      {"AllowFocusRing", true, ApplyFocusRing},
      {"Hint", "", [](Control& c, const Value& v) { As<FieldWidget>(c)->setPlaceholderText(Str(v)); }},
      {"Format", "", nullptr},
      {"ValidationMask", "", nullptr},
      {"AllowSpellChecking", false, nullptr},
  });
  return rows;
}

// A caption of several lines starts at the top of its frame; one line sits in the middle of it.
void ApplyLabelAlignment(Control& c, const Value&) {
  auto* l = As<LabelWidget>(c);
  const Qt::Alignment vertical = Bool(c, "Multiline") ? Qt::AlignTop : Qt::AlignVCenter;
  l->setAlignment(Horizontal(c.GetProperty("TextAlignment").AsInteger()) | vertical);
}

const PropertyRows& LabelRows() {
  static const PropertyRows rows(&TextControlRows(), RowList{
      {"Value", "", [](Control& c, const Value& v) { As<LabelWidget>(c)->setText(Str(v)); }},
      {"TextAlignment", 0, ApplyLabelAlignment},
      {"Multiline", false,
       [](Control& c, const Value& v) {
         As<LabelWidget>(c)->setWordWrap(v.AsBoolean());
         ApplyLabelAlignment(c, v);
       }},
      {"Selectable", false,
       [](Control& c, const Value& v) {
         auto* l = As<LabelWidget>(c);
         l->setTextInteractionFlags(v.AsBoolean() ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
         l->setFocusPolicy(Qt::NoFocus);  // QLabel would take click focus for a selectable text
       }},
      {"Transparent", true,
       [](Control& c, const Value& v) { As<LabelWidget>(c)->setAutoFillBackground(!v.AsBoolean()); }},
  });
  return rows;
}

void ApplyAreaLines(Control& c, const Value&) {
  As<AreaWidget>(c)->setLineFormat(c.GetProperty("LineHeight").AsDouble(), c.GetProperty("LineSpacing").AsDouble());
}

const PropertyRows& TextAreaRows() {
  static const PropertyRows rows(&TextControlRows(), RowList{
      {"Value", "",
       [](Control& c, const Value& v) {
         auto* a = As<AreaWidget>(c);
         QString text = Str(v);
         text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
         text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
         if (a->value() != text) a->setValue(text);
       }},
      {"TextAlignment", 0,
       [](Control& c, const Value& v) { As<AreaWidget>(c)->setHorizontalAlignment(Horizontal(v.AsInteger())); }},
      {"BackgroundColor", RGB(255, 255, 255), ApplyColors},
      {"HasBorder", true,
       [](Control& c, const Value& v) {
         auto* area = As<AreaWidget>(c);
         area->setFrameShape(v.AsBoolean() ? QFrame::StyledPanel : QFrame::NoFrame);
         // Qt's inset of 4 points suits a bordered box; without a border the text is laid
         // out to its frame (a 40-point line in a 42-point heading), and that inset would
         // push it past the frame's bottom.
         area->document()->setDocumentMargin(v.AsBoolean() ? 4 : 1);
       }},
      {"ReadOnly", false, [](Control& c, const Value& v) { As<AreaWidget>(c)->setReadOnly(v.AsBoolean()); }},
      {"MaximumCharactersAllowed", 0,
       [](Control& c, const Value& v) { As<AreaWidget>(c)->setLimit(std::max(0, ToInt(v.AsInteger()))); }},
      {"Multiline", true,
       [](Control& c, const Value& v) {
         As<AreaWidget>(c)->setLineWrapMode(v.AsBoolean() ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
       }},
      {"HasVerticalScrollbar", true,
       [](Control& c, const Value& v) {
         As<AreaWidget>(c)->setVerticalScrollBarPolicy(v.AsBoolean() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
       }},
      {"HasHorizontalScrollbar", false,
       [](Control& c, const Value& v) {
         As<AreaWidget>(c)->setHorizontalScrollBarPolicy(v.AsBoolean() ? Qt::ScrollBarAsNeeded
                                                                        : Qt::ScrollBarAlwaysOff);
       }},
      {"LineHeight", 0.0, ApplyAreaLines},  // points; 0 the font's own
      {"LineSpacing", 1.0, ApplyAreaLines},
      // Without AllowTabs a Tab moves the focus on and types nothing.
      {"AllowTabs", false,
       [](Control& c, const Value& v) { As<AreaWidget>(c)->setTabChangesFocus(!v.AsBoolean()); }},
      {"TabStop", true, ApplyTabStop},
      {"AllowFocusRing", true, ApplyFocusRing},
      {"HideSelection", true, nullptr},
      {"AllowStyledText", true, nullptr},
      {"AllowSpellChecking", false, nullptr},
      {"Format", "", nullptr},
      {"ValidationMask", "", nullptr},
  });
  return rows;
}

// A canvas never takes the focus, whatever AllowFocus says.
const PropertyRows& CanvasRows() {
  static const PropertyRows rows(&RectRows(), RowList{
      {"Transparent", true, nullptr},
      {"DoubleBuffer", false, nullptr},
      {"AllowFocus", false, nullptr},
      {"AllowFocusRing", true, nullptr},
      {"AllowTabs", false, nullptr},
  });
  return rows;
}

// Stops the timer and, when it should run, starts it anew from now.
void Restart(Control& c, const Value&) {
  auto* timer = As<QTimer>(c);
  timer->stop();
  const std::int64_t mode = c.GetProperty("RunMode").AsInteger();
  if (Quitting() || !Bool(c, "Enabled") || (mode != 1 && mode != 2)) return;
  timer->setSingleShot(mode == 1);
  timer->setInterval(std::max(0, Int(c, "Period")));
  timer->start();
}

const PropertyRows& TimerRows() {
  static const PropertyRows rows(&ControlRows(), RowList{
      {"Period", 1000, Restart},  // milliseconds
      {"RunMode", 2, Restart},    // 0 off, 1 once, 2 repeatedly
      {"Enabled", true, Restart},
      {"Left", 0, nullptr},  // where the timer's icon sat in the window editor
      {"Top", 0, nullptr},
  });
  return rows;
}

constexpr EventSpec kTextFieldEvents[] = {{TextField::kKeyDown, "KeyDown", "( TextField, String ) as Boolean"}};
constexpr EventSpec kCanvasEvents[] = {{Canvas::kMouseDown, "MouseDown", "( Canvas, Integer, Integer ) as Boolean"}};
constexpr EventSpec kTimerEvents[] = {{Timer::kAction, "Action", "( Timer )"}};

template <std::size_t N>
const EventSpec* EventIn(const EventSpec (&events)[N], int number) {
  for (const auto& e : events)
    if (e.number == number) return &e;
  return nullptr;
}

// Lines separated by CR, whatever the text had.
std::string WithCR(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i] == '\n' ? '\r' : text[i];
  }
  return out;
}

}  // namespace

// ---- Control ------------------------------------------------------------------------------------

Control::~Control() {
  if (link_) QObject::disconnect(link_->destroyed);
  if (auto* timer = qobject_cast<QTimer*>(native_)) timer->stop();
  // A Qt object made without a parent has no one else to delete it.
  if (native_ && !native_->parent()) delete native_;
}

std::shared_ptr<Window> Control::Owner() const { return owner_.lock(); }

const EventSpec* Control::FindEvent(int) const { return nullptr; }

void Control::AddHandler(int number, std::shared_ptr<Delegate> handler) {
  CheckUIThread();
  handlers_[number] = std::move(handler);
}

std::shared_ptr<Delegate> Control::HandlerFor(int number) const {
  const auto found = handlers_.find(number);
  return found == handlers_.end() ? nullptr : found->second;
}

const PropertyRows& Control::Properties() const { return ControlRows(); }

void Control::AdoptNative(QObject* native) {
  if (native == native_ && link_) return;
  if (link_) QObject::disconnect(link_->destroyed);
  native_ = native;
  if (!native) return;
  if (!link_) link_ = std::make_shared<NativeLink>();
  link_->destroyed = QObject::connect(native, &QObject::destroyed, [this] { native_ = nullptr; });
}

void Control::_Attach(const std::shared_ptr<Window>& owner, QObject* native) {
  CheckUIThread();
  owner_ = owner;
  AdoptNative(native);
}

// ---- RectControl --------------------------------------------------------------------------------

void RectControl::Visible(bool on) { SetFlag("Visible", on); }
bool RectControl::Visible() const { return Flag("Visible"); }
void RectControl::Enabled(bool on) { SetFlag("Enabled", on); }
bool RectControl::Enabled() const { return Flag("Enabled"); }

void RectControl::SetFlag(const char* name, bool on) {
  CheckUIThread();
  SetProperty(name, on);
}
bool RectControl::Flag(const char* name) const {
  CheckUIThread();
  return GetProperty(name).AsBoolean();
}
void RectControl::SetFocus() {
  CheckUIThread();
  QWidget* w = _Widget();
  if (!w) return;
  w->setFocus(Qt::OtherFocusReason);
  // Once a message box has closed, no window may be active (offscreen, or X without a window
  // manager): the focus would then wait for an activation that never comes.
  QWidget* top = w->window();
  if (!QApplication::activeWindow() && !QApplication::activeModalWidget() && top->isVisible()) top->activateWindow();
}
bool RectControl::HasFocus() const {
  CheckUIThread();
  QWidget* w = _Widget();
  return w && w->hasFocus();
}

QWidget* RectControl::_Widget() const { return qobject_cast<QWidget*>(native_); }

bool RectControl::_TakesTabFocus() const {
  QWidget* w = _Widget();
  return w && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// Measured from the frame the program last set and the content size it was set in (the size
// before the first resize that followed), not from the last moved frame: a control squeezed to
// nothing gets its size back when the content grows again.
void RectControl::_ContentResized(int oldW, int oldH, int newW, int newH) {
  CheckUIThread();
  auto* link = dynamic_cast<ControlLink*>(_Widget());
  if (!link) return;
  if (!link->lockContent.isValid()) link->lockContent = QSize(oldW, oldH);
  const QRect base = link->lockFrame;
  const int dx = newW - link->lockContent.width();
  const int dy = newH - link->lockContent.height();
  int left = base.left(), top = base.top(), width = base.width(), height = base.height();
  if (GetProperty("LockRight").AsBoolean()) {
    if (GetProperty("LockLeft").AsBoolean()) width = std::max(0, width + dx);
    else left += dx;
  }
  if (GetProperty("LockBottom").AsBoolean()) {
    if (GetProperty("LockTop").AsBoolean()) height = std::max(0, height + dy);
    else top += dy;
  }
  link->movingByLocks = true;
  SetProperty("Left", left);
  SetProperty("Top", top);
  SetProperty("Width", width);
  SetProperty("Height", height);
  link->movingByLocks = false;
}

const PropertyRows& RectControl::Properties() const { return RectRows(); }

// Gives a new widget every property's current value, in row order.
void RectControl::DressNative(QObject* native) {
  AdoptNative(native);
  ApplyAllProperties();
}

// ---- TextControl ----------------------------------------------------------------------------------

void TextControl::Text(const std::string& text) {
  CheckUIThread();
  SetProperty("Value", text);
}

std::string TextControl::Text() const {
  CheckUIThread();
  return CurrentText();
}

std::string TextControl::CurrentText() const { return GetProperty("Value").AsString(); }

const PropertyRows& TextControl::Properties() const { return TextControlRows(); }

// ---- TextField ----------------------------------------------------------------------------------

QObject* TextField::_CreateNative(QWidget* content) {
  CheckUIThread();
  auto* field = new FieldWidget(content);
  field->setControl(std::static_pointer_cast<TextField>(weak_from_this().lock()));
  // What the user types is kept in Value too, so it is still there once the widget is gone.
  std::weak_ptr<Object> weak = weak_from_this();
  QObject::connect(field, &QLineEdit::textChanged, field, [weak](const QString& text) {
    if (auto self = std::static_pointer_cast<TextField>(weak.lock()))
      _DispatchSafely([&] { self->KeepNativeValue("Value", text.toStdString()); });
  });
  DressNative(field);
  return field;
}

std::string TextField::CurrentText() const {
  if (auto* f = As<FieldWidget>(*this)) return f->text().toStdString();
  return TextControl::CurrentText();
}

const EventSpec* TextField::FindEvent(int number) const { return EventIn(kTextFieldEvents, number); }

bool TextField::_KeyDown(const std::string& keyText) {
  CheckUIThread();
  auto self = std::static_pointer_cast<TextField>(weak_from_this().lock());
  if (!self) return false;
  return Raise(kKeyDown, false, self, keyText);
}

const PropertyRows& TextField::Properties() const { return TextFieldRows(); }

// ---- Label --------------------------------------------------------------------------------------

QObject* Label::_CreateNative(QWidget* content) {
  CheckUIThread();
  DressNative(new LabelWidget(content));
  return native_;
}

const PropertyRows& Label::Properties() const { return LabelRows(); }

// ---- TextArea -----------------------------------------------------------------------------------

QObject* TextArea::_CreateNative(QWidget* content) {
  CheckUIThread();
  auto* area = new AreaWidget(content);
  std::weak_ptr<Object> weak = weak_from_this();
  QObject::connect(area, &QTextEdit::textChanged, area, [weak, area] {
    if (auto self = std::static_pointer_cast<TextArea>(weak.lock()))
      _DispatchSafely([&] { self->KeepNativeValue("Value", area->value().toStdString()); });
  });
  DressNative(area);
  return area;
}

std::string TextArea::CurrentText() const {
  if (auto* a = As<AreaWidget>(*this)) return a->value().toStdString();
  return WithCR(TextControl::CurrentText());
}

const PropertyRows& TextArea::Properties() const { return TextAreaRows(); }

// ---- Canvas -------------------------------------------------------------------------------------

QObject* Canvas::_CreateNative(QWidget* content) {
  CheckUIThread();
  auto* canvas = new CanvasWidget(content);
  canvas->setControl(std::static_pointer_cast<Canvas>(weak_from_this().lock()));
  DressNative(canvas);
  Backdrop(backdrop_);
  return canvas;
}

void Canvas::Backdrop(std::shared_ptr<Picture> picture) {
  CheckUIThread();
  backdrop_ = std::move(picture);
  if (auto* w = As<CanvasWidget>(*this)) w->setBackdrop(backdrop_ ? backdrop_->impl().pixmap() : QPixmap());
}

const EventSpec* Canvas::FindEvent(int number) const { return EventIn(kCanvasEvents, number); }

// The press belongs to the canvas when a handler is bound, whatever the handler answers.
bool Canvas::_MouseDown(std::int64_t x, std::int64_t y) {
  CheckUIThread();
  auto self = std::static_pointer_cast<Canvas>(weak_from_this().lock());
  if (!self || !HasHandler(kMouseDown)) return false;
  Raise(kMouseDown, false, self, x, y);
  return true;
}

const PropertyRows& Canvas::Properties() const { return CanvasRows(); }

// ---- Timer --------------------------------------------------------------------------------------

QObject* Timer::_CreateNative(QWidget* content) {
  CheckUIThread();
  auto* timer = new QTimer(content);
  // Qt's default coarse timers may fire up to 5% early; a period is a promise not to fire sooner.
  timer->setTimerType(Qt::PreciseTimer);
  std::weak_ptr<Object> weak = weak_from_this();
  QObject::connect(timer, &QTimer::timeout, timer, [weak] {
    if (auto self = std::static_pointer_cast<Timer>(weak.lock())) self->_Fire();
  });
  AdoptNative(timer);
  ApplyAllProperties();
  return timer;
}

bool Timer::Pending() const {
  CheckUIThread();
  auto* timer = As<QTimer>(*this);
  return timer && timer->isActive();
}

void Timer::_Fire() {
  CheckUIThread();
  // Queued timeouts may still come in after Quit if anything spins the event loop.
  if (Quitting()) {
    if (auto* timer = As<QTimer>(*this)) timer->stop();
    return;
  }
  auto self = std::static_pointer_cast<Timer>(weak_from_this().lock());
  if (self) RaiseVoid(kAction, self);
}

const EventSpec* Timer::FindEvent(int number) const { return EventIn(kTimerEvents, number); }

const PropertyRows& Timer::Properties() const { return TimerRows(); }

}  // namespace gui
