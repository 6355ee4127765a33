#include "core/session/CalculatorSession.h"

#include "core/common/NumberText.h"
#include "core/common/ScopedCount.h"
#include "core/model/CalcCommon.h"
#include "core/rules/PermissibleResistance.h"
#include "core/rules/SectionRules.h"
#include "core/rules/SoilRules.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

FrameData::~FrameData() = default;
SessionListener::~SessionListener() = default;
void SessionListener::evaluated(bool) {}

std::optional<std::array<double, 3>> FrameData::resistivitySteps(double) const {
    return std::nullopt;
}

namespace {

const QStringList& soilFields() {
    static const QStringList fields = {u"ComboGrunt"_s, u"EditRo0"_s, u"EditPKV"_s, u"EditRo"_s};
    return fields;
}
const QStringList& sectionFields() {
    static const QStringList fields = {u"cmbSech"_s, u"cmbDiam"_s, u"EditDiam0"_s, u"EditDiam"_s};
    return fields;
}
const QStringList& modeButtons() {
    static const QStringList buttons = {u"btnAllMat"_s, u"btnRecMat"_s, u"btnDopMat"_s};
    return buttons;
}
const QStringList& installationInputs() {
    static const QStringList inputs = {u"EditRmax"_s, u"chkInclude"_s};
    return inputs;
}
const QStringList& installationFields() {
    static const QStringList fields = {u"EditTip"_s, u"EditIzo"_s, u"EditUlin"_s, u"EditS"_s, u"EditP"_s};
    return fields;
}
const QStringList& toolbarToggles() {
    static const QStringList toggles = {u"btnAutoScore"_s, u"btnLinkRo"_s, u"btnLinkParam"_s,
                                        u"btnFormula"_s,   u"btnEU"_s,     u"btnPicture"_s};
    return toggles;
}
const QString installationFrameName = u"frmEU1"_s;
const QString toolbarName = u"ButtonFrame1"_s;

} // namespace

// Why the window's field would not let the user type the text; empty when it would. A numeric
// field takes digits and the comma only, a count field digits only.
QString CalculatorSession::untypeable(const QString& name, const QString& text, Typing typing) {
    if (text.size() > editLineMaxLength)
        return u"значение поля "_s + name + u" длиннее "_s + QString::number(editLineMaxLength) +
               u" знаков, которые вмещает поле"_s;
    if (typing == Typing::Free)
        return {};
    if (isTypeableNumber(text, typing == Typing::Number) && !(typing == Typing::Count && text.isEmpty()))
        return {};
    return u"значение \""_s + echoedText(text) + u"\" нельзя ввести в поле "_s + name +
           (typing == Typing::Count ? u": оно принимает только цифры"_s
                                    : u": оно принимает только цифры и запятую"_s);
}

CalculatorSession::CalculatorSession(const Calculator& calculator, const FrameData& data)
    : calc_(calculator), d_(calculator.description()), data_(data) {}

const GeometryInput* CalculatorSession::own(const QString& name) const {
    for (const GeometryInput& g : d_.geometry)
        if (g.name == name)
            return &g;
    return nullptr;
}

QString CalculatorSession::ownText(const QString& name) const {
    if (!grids_.isEmpty() && grids_.contains(name))
        return gridText(name);
    if (!chosen_.isEmpty())
        if (const auto it = chosen_.constFind(name); it != chosen_.cend())
            return it->row() ? it->row()->key : QString();
    return own_.value(name);
}

// ---- Opening

void CalculatorSession::open() {
    opening_ = true;
    soils_.clear();
    sections_.clear();
    own_.clear();
    spinLimits_.clear();
    items_.clear();
    grids_.clear();
    chosen_.clear();
    installation_ = openingInstallation();
    installationShown_ = true;
    // The toolbar's buttons stay as they are: a window sets them before it opens.
    include_ = includeOffered_ = false;
    layers_.clear();
    result_ = u"0.00"_s;
    order_.clear();
    warnings_.clear();
    messages_.clear();

    for (const GeometryInput& g : d_.geometry) {
        if (g.isRadio()) {
            own_.insert(g.name,
                        g.radio->items.value(std::max(0, int(g.radio->items.indexOf(g.defaultText)))));
        } else if (g.isRowGrid()) {
            grids_.insert(g.name, {});
            if (const GeometryInput* count = own(g.rowGrid->countInput))
                layOutGrid(g.name, count->defaultText.toInt());
            if (!g.rowGrid->defaultText.isEmpty())
                setGridText(g.name, g.rowGrid->defaultText);
        } else if (g.isRowChoice()) {
            chosen_.insert(g.name, {});
        } else if (g.isPictureChoice()) {
            spinLimits_.insert(g.name, {1, int(g.picture->pictures.size())});
            own_.insert(g.name, QString::number(g.picture->defaultNumber));
        } else if (g.isChoice()) {
            items_.insert(g.name, g.choice->items);
            own_.insert(g.name,
                        g.choice->items.value(std::max(0, int(g.choice->items.indexOf(g.defaultText)))));
        } else if (g.isSpin()) {
            spinLimits_.insert(g.name, {g.spin->minimum, g.spin->maximum});
            own_.insert(g.name,
                        QString::number(std::clamp(g.defaultText.toInt(), g.spin->minimum, g.spin->maximum)));
        } else {
            own_.insert(g.name, g.defaultText);
        }
    }
    if (d_.soilFrame)
        for (const SoilFrameSetup& f : d_.soilFrames) {
            Soil soil;
            soil.setup = &f;
            for (const QString& field : soilFields())
                soil.keys << f.prefix + field;
            soils_.append(soil);
        }
    for (const ConstructionFrameSetup& c : d_.constructionFrames) {
        Section s;
        s.setup = &c;
        s.keys = {c.prefix + u"cmbSech"_s, c.prefix + u"cmbDiam"_s, c.prefix + u"EditDiam0"_s,
                  sizeSetModeOf(c)};
        for (int i = 0; i < soils_.size(); ++i)
            if (soils_[i].setup->name == c.soil)
                s.soil = i;
        sections_.append(s);
    }

    fill(false);
}

void CalculatorSession::reopen() {
    fill(true);
}

void CalculatorSession::fill(bool reopening) {
    opening_ = true;
    openingNote_.clear();
    // Refilling the frames fires their change handling; one calculation follows it all.
    ++tailHold_;
    refillSoils(reopening);
    for (Section& s : sections_)
        refreshConstructions(s);
    for (const GeometryInput& g : d_.geometry)
        if (g.isChoice() && !g.choice->table.isEmpty()) {
            items_[g.name] = data_.choiceTexts(g);
            own_[g.name] = items_[g.name].value(0);
        }
    for (const GeometryInput& g : d_.geometry)
        if (g.isRowChoice()) {
            // Opened again, the window keeps what the user typed: rebinding moves nothing then.
            bindRowTable(g, !reopening);
            if (const QString note = openOnFilledTable(g); !note.isEmpty() && openingNote_.isEmpty())
                openingNote_ = note;
        }
    // The type shown at first is chosen as if its picture were clicked.
    for (const GeometryInput& g : d_.geometry)
        if (g.isPictureChoice()) {
            for (const auto& [name, text] : calc_.userChoice(current(), g.name).asKeyValueRange())
                setInputText(name, text);
            inputChanged(g.name, false);
        }
    --tailHold_;
    if (!d_.geometry.isEmpty())
        applyDerived(calc_.derive(current(), d_.geometry.first().name));
    applySpinLimits();
    changeTail();
    opening_ = false;
    // Every case starts from a copy of the opened session: the names of what it shows go with it.
    outputs();
}

// Every soil frame over the soils listed now: one opened again, or after the dictionary, keeps
// its soil, p0 and Kп while that soil is still listed; otherwise the default soil with its p0.
void CalculatorSession::refillSoils(bool keep) {
    soilNames_ = data_.soilNames();
    const QStringList& soilNames = soilNames_;
    for (int i = 0; i < soils_.size(); ++i) {
        Soil& soil = soils_[i];
        const QString had = keep ? soil.name : QString();
        const QString measured = soil.measured;
        const QString coefficient = soil.coefficient;
        soil.name = listedSoil(had, soilNames);
        const bool kept = !had.isEmpty() && soil.name == had;
        soilTypeChosen(i);
        soilFrameChanged(i, true);
        if (!kept)
            continue;
        if (!measured.isEmpty())
            soil.measured = measured;
        if (!coefficient.isEmpty())
            soil.coefficient = coefficient;
        soilValueChanged(i);
    }
}

void CalculatorSession::soilsEdited() {
    ++tailHold_;
    refillSoils(true);
    if (!soils_.isEmpty())
        applyDerived(calc_.derive(current(), soils_.first().setup->prefix + u"EditRo0"_s));
    --tailHold_;
    changeTail();
}

void CalculatorSession::sectionsEdited(bool corrosion, int inFront) {
    if (inFront < 0 || inFront >= sections_.size())
        return;
    const QString construction = sections_[inFront].construction;
    const QString size = sections_[inFront].size;
    ++tailHold_;
    // Every frame follows the dictionary; the one in front keeps its choice.
    for (Section& s : sections_)
        if (!corrosion || s.mode != AllSizes)
            refreshConstructions(s);
    Section& front = sections_[inFront];
    if (front.constructions.contains(construction)) {
        front.construction = construction;
        constructionChosen(front);
        sectionChanged();
        if (front.sizes.contains(size)) {
            front.size = size;
            sizeChosen(front);
            sectionChanged();
        }
    }
    --tailHold_;
    changeTail();
}

void CalculatorSession::choiceListEdited(const QString& name) {
    const GeometryInput* g = own(name);
    if (!g || !g->isChoice())
        return;
    const QString chosen = own_.value(name);
    // The list follows the table: a value deleted or corrected there is no longer offered.
    items_[name] = data_.choiceTexts(*g);
    own_[name].clear();
    const QStringList& items = items_[name];
    if (g->choice->firstAfterDialog && !items.isEmpty())
        own_[name] = items.first();
    else if (!g->choice->firstAfterDialog && items.contains(chosen))
        own_[name] = chosen;
    else
        return changeTail(); // no result may stay for a value that is gone
    ++tailHold_;
    inputChanged(name, false);
    --tailHold_;
    changeTail();
}

bool CalculatorSession::coefficientsEdited() {
    // An edited coefficient changes the result on screen; a filter or a reload changes nothing.
    if (tailHold_ > 0 || !autoScore_ || result_.isEmpty() || run_)
        return false;
    const Evaluation e = calc_.evaluate(current());
    bool same = e.ok() && e.resultText == result_;
    for (auto it = e.shown.cbegin(); same && it != e.shown.cend(); ++it)
        same = text(it.key()) == it.value();
    if (same)
        return false;
    calculate(false);
    return true;
}

void CalculatorSession::setRun(const QMap<QString, long double>* values, bool singleParameter) {
    run_ = values;
    singleRun_ = singleParameter;
}

void CalculatorSession::setEquivalentResistivity(const QString& resistivity, const QStringList& layers,
                                                 const QString& upperLayer) {
    if (!d_.equivalentResistivity)
        return;
    const EquivalentResistivitySetup& e = *d_.equivalentResistivity;
    layers_ = layers;
    if (!e.upperLayerInput.isEmpty())
        setInputText(e.upperLayerInput, upperLayer);
    // Layers that give no resistivity leave the one shown before.
    if (resistivity.isEmpty())
        return;
    setInputText(e.input, resistivity);
    includeOffered_ = true;
}

void CalculatorSession::setInstallation(const InstallationValues& values) {
    const bool include = installation_.include;
    installation_ = values;
    installation_.include = include;
}

QString CalculatorSession::text(const QString& name) const {
    if (own(name))
        return ownText(name);
    return current().text(name);
}

QStringList CalculatorSession::items(const QString& name) const {
    return items_.value(name);
}

std::pair<int, int> CalculatorSession::spinRange(const QString& name) const {
    return spinLimits_.value(name);
}

bool CalculatorSession::toggled(const QString& name) const {
    if (name == u"btnAutoScore"_s)
        return autoScore_;
    if (name == u"btnLinkRo"_s)
        return linkRo_;
    if (name == u"btnLinkParam"_s)
        return linkParam_;
    if (name == u"btnEU"_s)
        return installationShown_;
    if (name == u"btnPicture"_s)
        return picture_;
    if (d_.equivalentResistivity && name == d_.equivalentResistivity->include)
        return include_;
    return false;
}

// ---- Inputs by name

CalculatorSession::Resolved CalculatorSession::resolve(const QString& name, QString* error) const {
    if (own(name))
        return {Target::Own, -1, name};
    // A chosen row by its code, as history and the copy buffer keep it.
    for (const GeometryInput& g : d_.geometry)
        if (g.isRowChoice() && rowCodeInput(g) == name)
            return {Target::Own, -1, g.name};
    QString frame;
    QString field = name;
    if (const qsizetype dot = name.indexOf(u'.'); dot > 0) {
        frame = name.left(dot);
        field = name.mid(dot + 1);
    }
    // A row choice's check box stands with the inputs.
    for (const GeometryInput& g : d_.geometry)
        if (frame.isEmpty() && g.isRowChoice() && !g.rowChoice->checkName.isEmpty() &&
            g.rowChoice->checkName == field)
            return {Target::RowCheck, -1, g.name};
    if (d_.equivalentResistivity && frame.isEmpty() && field == d_.equivalentResistivity->include) {
        // Offered once the two-layer dialog has computed a resistivity.
        if (includeOffered_)
            return {Target::Toolbar, -1, field};
        *error = u"поле "_s + name + u" задается только вместе с расчетом эквивалентного сопротивления"_s;
        return {};
    }
    QList<Resolved> found;
    if (soilFields().contains(field))
        for (int i = 0; i < soils_.size(); ++i)
            if (frame.isEmpty() ? true : soils_[i].setup->name == frame)
                found << Resolved{Target::SoilField, i, field};
    if (sectionFields().contains(field) || modeButtons().contains(field))
        for (int i = 0; i < sections_.size(); ++i)
            if (frame.isEmpty() || sections_[i].setup->name == frame)
                found << Resolved{modeButtons().contains(field) ? Target::SectionMode : Target::SectionField,
                                  i, field};
    if ((installationInputs().contains(field) || installationFields().contains(field)) &&
        (frame.isEmpty() || frame == installationFrameName))
        found << Resolved{Target::Installation, -1, field};
    if (toolbarToggles().contains(field) && (frame.isEmpty() || frame == toolbarName))
        found << Resolved{Target::Toolbar, -1, field};
    if (found.isEmpty()) {
        *error = u"нет поля "_s + name;
        return {};
    }
    if (found.size() > 1 && frame.isEmpty()) {
        // A plain soil field is the upper (or only) soil frame's.
        for (const Resolved& r : std::as_const(found))
            if (r.target == Target::SoilField && soils_[r.index].setup->prefix.isEmpty())
                return r;
        const Resolved& first = found.first();
        const QString qualifier = first.target == Target::SoilField ? soils_[first.index].setup->name
                                                                    : sections_[first.index].setup->name;
        *error = u"поле "_s + name + u" неоднозначно: укажите фрейм, например "_s + qualifier + u'.' + field;
        return {};
    }
    const Resolved& r = found.first();
    if ((r.target == Target::SoilField && field == u"EditRo"_s) ||
        (r.target == Target::SectionField && (field == u"EditDiam0"_s || field == u"EditDiam"_s)) ||
        (r.target == Target::Installation && installationFields().contains(field))) {
        *error = u"поле "_s + name + u" не является полем ввода"_s;
        return {};
    }
    return r;
}

int CalculatorSession::position(const QString& name) const {
    if (const qsizetype at = d_.inputOrder.indexOf(name); at >= 0)
        return int(at);
    QString error;
    const Resolved r = resolve(name, &error);
    switch (r.target) {
    case Target::None:
        return -1;
    case Target::Own:
        return 1000 + int(std::find_if(d_.geometry.cbegin(), d_.geometry.cend(),
                                       [&](const GeometryInput& g) { return g.name == name; }) -
                          d_.geometry.cbegin());
    case Target::SoilField:
        return 2000 + r.index * 10 + int(soilFields().indexOf(r.field));
    case Target::SectionField:
    case Target::SectionMode:
        return 3000 + r.index * 10 + int(sectionFields().indexOf(r.field)) +
               int(modeButtons().indexOf(r.field)) + 1;
    case Target::RowCheck:
        return 4000;
    case Target::Installation:
        return 5000 + int(installationInputs().indexOf(r.field));
    case Target::Toolbar:
        return 6000 + int(toolbarToggles().indexOf(r.field));
    }
    return -1;
}

bool CalculatorSession::set(const QString& name, const QJsonValue& value, QString* error) {
    return set(name, value, error, false);
}

CalculatorSession::Edit CalculatorSession::edit(const QString& name, const QString& text, bool byUser) {
    return edit(name, QJsonValue(text), byUser);
}

CalculatorSession::Edit CalculatorSession::press(const QString& name, bool down) {
    return edit(name, QJsonValue(down), true);
}

CalculatorSession::Edit CalculatorSession::edit(const QString& name, const QJsonValue& value, bool byUser) {
    const ShownTexts before = outputs();
    Edit done;
    done.taken = set(name, value, &done.error, byUser);
    const ShownTexts after = outputs();
    for (qsizetype i = 0; i < after.size(); ++i)
        if (i >= before.size() || before[i] != after[i])
            done.changed << after[i].first;
    return done;
}

void CalculatorSession::say(const QString& message) {
    if (listener_)
        listener_->said(message);
    else
        messages_ << message;
}

void CalculatorSession::say(const QStringList& messages) {
    for (const QString& message : messages)
        say(message);
}

bool CalculatorSession::set(const QString& name, const QJsonValue& value, QString* error, bool byUser) {
    const Resolved r = resolve(name, error);
    if (r.target == Target::None)
        return false;
    if (r.target == Target::Own && r.field != name)
        return set(r.field, value, error, byUser);
    const bool toggle = r.target == Target::SectionMode || r.target == Target::Toolbar ||
                        r.target == Target::RowCheck || r.field == u"chkInclude"_s;
    if (toggle) {
        if (!value.isBool()) {
            *error = u"значение кнопки "_s + name + u" должно быть true или false"_s;
            return false;
        }
        const bool down = value.toBool();
        switch (r.target) {
        case Target::SectionMode: {
            // A button already as asked is left alone. The group keeps one button down: releasing
            // the one down presses it again, which refills the lists all the same.
            Section& s = sections_[r.index];
            const int mode = int(modeButtons().indexOf(r.field));
            if (down == (s.mode == mode))
                return true;
            if (down)
                s.mode = mode;
            refreshConstructions(s);
            sectionChanged();
            return true;
        }
        case Target::RowCheck: {
            Chosen& c = chosen_[r.field];
            if (c.checked != down) {
                c.checked = down;
                if (down)
                    moveWithRow(r.field);
                changeTail();
            }
            return true;
        }
        default:
            break;
        }
        if (d_.equivalentResistivity && r.field == d_.equivalentResistivity->include) {
            include_ = down;
            if (autoScore_)
                calculate(true);
        } else if (r.field == u"chkInclude"_s) {
            installation_.include = down;
        } else if (r.field == u"btnAutoScore"_s) {
            if (autoScore_ != down && down)
                calculate(true);
            autoScore_ = down;
        } else if (r.field == u"btnLinkRo"_s) {
            const bool was = linkRo_;
            linkRo_ = down;
            if (was != down)
                syncInstallation();
        } else if (r.field == u"btnLinkParam"_s) {
            if (!d_.linkedParameters) {
                *error = u"кнопка "_s + name + u" недоступна в этом окне"_s;
                return false;
            }
            const bool was = linkParam_;
            linkParam_ = down;
            if (!was && down)
                linkPressed();
        } else if (r.field == u"btnEU"_s) {
            installationShown_ = down;
        } else if (r.field == u"btnPicture"_s) {
            picture_ = down;
        }
        return true;
    }

    // A grid of rows by its text form or as a list of rows, each a list of cell texts.
    if (r.target == Target::Own && grids_.contains(name) && value.isArray()) {
        GridRows rows;
        for (const QJsonValue& row : value.toArray()) {
            QStringList cells;
            bool ok = row.isArray();
            for (const QJsonValue& cell : row.toArray()) {
                ok = ok && cell.isString();
                cells << cell.toString();
            }
            if (!ok) {
                *error =
                    u"значение таблицы "_s + name +
                    u" должно быть списком строк таблицы (списков текстов ячеек) или строкой вида \"0,5||;|0,6|\""_s;
                return false;
            }
            rows << cells;
        }
        return setGivenGrid(name, rows, error) && gridEdited(name, byUser);
    }
    if (!value.isString()) {
        *error = u"значение поля "_s + name + u" должно быть строкой"_s;
        return false;
    }
    QString text = value.toString();
    if (const QString refused = byCase_ ? untypeable(name, text, typing(r)) : QString(); !refused.isEmpty()) {
        *error = refused;
        return false;
    }
    const auto refuse = [&](const QStringList& items) {
        *error =
            u"значения \""_s + text + u"\" нет в списке "_s + name + u" ("_s + items.join(u"; "_s) + u")"_s;
        return false;
    };
    // A window's list may have nothing chosen (a stored value no longer offered): a text not in
    // the list chooses nothing there. A case names an item.
    const auto notInList = [&](const QStringList& items) {
        if (byCase_)
            return refuse(items);
        text.clear();
        return true;
    };

    if (r.target == Target::Installation) { // EditRmax
        // The window does not let the field be left holding what is not a number a double holds.
        if (byCase_ && !keptNumber(text)) {
            *error = u"значение \""_s + echoedText(text) + u"\" поля "_s + name +
                     u" не является числом или выходит за пределы чисел, которые хранит программа"_s;
            return false;
        }
        installation_.permissible = text;
        return true;
    }
    if (r.target == Target::SoilField) {
        Soil& soil = soils_[r.index];
        if (r.field == u"ComboGrunt"_s) {
            const QStringList names = data_.soilNames();
            if (!names.contains(text) && !notInList(names))
                return false;
            if (text != soil.name) {
                soil.name = text;
                soilTypeChosen(r.index);
                soilFrameChanged(r.index, true);
            }
            return true;
        }
        QString& field = r.field == u"EditRo0"_s ? soil.measured : soil.coefficient;
        if (field != text) {
            field = text;
            soilValueChanged(r.index);
        }
        return true;
    }
    if (r.target == Target::SectionField) {
        Section& s = sections_[r.index];
        const bool construction = r.field == u"cmbSech"_s;
        const QStringList& items = construction ? s.constructions : s.sizes;
        if (!items.contains(text) && !notInList(items))
            return false;
        QString& current = construction ? s.construction : s.size;
        if (current != text) {
            current = text;
            if (construction)
                constructionChosen(s);
            else
                sizeChosen(s);
            sectionChanged();
        }
        return true;
    }

    // The calculator's own inputs.
    const GeometryInput& g = *own(name);
    if (g.readOnly) {
        *error = u"поле "_s + name + u" не является полем ввода"_s;
        return false;
    }
    if (g.isRowGrid())
        return setGivenGrid(name, splitGridRows(text), error) && gridEdited(name, byUser);
    if (g.isRowChoice()) {
        Chosen& c = chosen_[name];
        for (int i = 0; i < c.rows.size(); ++i)
            if (c.rows[i].key == text || (!c.rows[i].code.isEmpty() && c.rows[i].code == text)) {
                if (c.current != i) {
                    c.current = i;
                    // The user's choice moves the inputs that follow the row; the program's not.
                    // A case's row is calculated with the case; a window's at once.
                    if (byCase_) {
                        rowChanged(name, byUser);
                    } else {
                        if (byUser)
                            moveWithRow(name);
                        inputChanged(name, byUser);
                    }
                }
                return true;
            }
        QStringList keys;
        for (const ChoiceRow& row : std::as_const(c.rows))
            keys << row.key;
        *error =
            u"значения \""_s + text + u"\" нет в таблице "_s + name + u" ("_s + keys.join(u"; "_s) + u")"_s;
        return false;
    }
    if (g.isRadio()) {
        QString item;
        if (g.radio->items.contains(text)) {
            item = text;
        } else {
            bool ok = false;
            const int index = text.toInt(&ok);
            // A radio list always has an item chosen: another text is refused.
            if (!ok || index < 0 || index >= g.radio->items.size())
                return refuse(g.radio->items);
            item = g.radio->items[index];
        }
        if (own_.value(name) != item) {
            own_[name] = item;
            inputChanged(name, false);
        }
        return true;
    }
    if (spinLimits_.contains(name)) {
        const auto [min, max] = spinLimits_.value(name);
        bool ok = false;
        const int count = text.toInt(&ok);
        if (!ok || count < min || count > max) {
            *error = u"значение \""_s + text + u"\" поля "_s + name + u" должно быть целым от "_s +
                     QString::number(min) + u" до "_s + QString::number(max);
            return false;
        }
        if (own_.value(name).toInt() != count) {
            own_[name] = QString::number(count);
            for (const GeometryInput& grid : d_.geometry)
                if (grid.isRowGrid() && grid.rowGrid->countInput == name)
                    layOutGrid(grid.name, count);
            geometryChanged(name, byUser);
        }
        return true;
    }
    if (g.isChoice()) {
        const QStringList items = items_.value(name);
        if (!items.contains(text) && !notInList(items))
            return false;
        if (own_.value(name) != text) {
            own_[name] = text;
            // A case's choice is calculated with the case; a window's list calculates at once.
            const ScopedCount hold(tailHold_, byCase_);
            inputChanged(name, false);
        }
        return true;
    }
    if (own_.value(name) != text) {
        own_[name] = text;
        geometryChanged(name, byUser);
    }
    return true;
}

bool CalculatorSession::gridEdited(const QString& name, bool byUser) {
    // The user's cells are handled as the window's grid hands them on; the program's wait for the
    // calculation that follows them.
    if (byUser)
        inputChanged(name, true);
    return true;
}

// What the window's field for an input lets the user type.
CalculatorSession::Typing CalculatorSession::typing(const Resolved& r) const {
    switch (r.target) {
    case Target::Installation:
        return Typing::Number;
    case Target::SoilField:
        if (r.field == u"EditRo0"_s || (r.field == u"EditPKV"_s && d_.coefficientInputChecks))
            return Typing::Number;
        return Typing::Free;
    case Target::Own: {
        const GeometryInput& g = *own(r.field);
        if (spinLimits_.contains(g.name))
            return Typing::Count;
        if (g.isChoice() || g.isRadio() || g.isRowChoice() || g.isRowGrid() || g.readOnly)
            return Typing::Free;
        return Typing::Number;
    }
    default:
        return Typing::Free;
    }
}

// ---- The window's change handling

void CalculatorSession::geometryChanged(const QString& name, bool byUser) {
    const GeometryInput* g = own(name);
    // Whoever writes an input that acts on the user's changes only calculates afterwards; nothing
    // is linked, but what is shown from it follows now.
    if (g && g->userChangesOnly && !byUser) {
        applyDerived(calc_.derive(current(), name));
        if (tailHold_ == 0)
            forgetResult();
        return;
    }
    inputChanged(name, byUser);
}

void CalculatorSession::forgetResult() {
    result_.clear();
    r_.reset();
    order_.clear();
    warnings_.clear();
    // The window opens with the values it was designed to show.
    if (opening_)
        return;
    for (const GeometryInput& g : d_.geometry) {
        if (!g.clearedWithResult)
            continue;
        if (grids_.contains(g.name))
            setGridText(g.name, gridText(g.name)); // the computed columns emptied
        else
            own_[g.name].clear();
    }
}

void CalculatorSession::inputChanged(const QString& name, bool byUser) {
    if (const GeometryInput* g = own(name); g && g->changeEmptiesResult) {
        applyDerived(calc_.derive(current(), name));
        forgetResult();
        return;
    }
    for (const GeometryInput& g : d_.geometry)
        if (g.isRowChoice() && g.rowChoice->tableInput == name) {
            ++tailHold_;
            bindRowTable(g, true);
            --tailHold_;
        }
    if (byUser && linkParam_ && d_.linkedParameters)
        for (const auto& [input, text] : calc_.link(current(), name).asKeyValueRange())
            setInputText(input, text);
    applyDerived(calc_.derive(current(), name));
    applySpinLimits();
    if (name == d_.installationResistivityInput)
        syncInstallation();
    changeTail();
}

void CalculatorSession::applyDerived(const QMap<QString, QString>& values) {
    for (const auto& [name, text] : values.asKeyValueRange()) {
        if (d_.equivalentResistivity && name == d_.equivalentResistivity->include) {
            // The computation it would show no longer gives the resistivity.
            if (text.isEmpty())
                include_ = includeOffered_ = false;
            continue;
        }
        ++tailHold_;
        writeText(name, text);
        --tailHold_;
    }
}

// An edit line written by the program: its own change handling follows.
void CalculatorSession::writeText(const QString& name, const QString& text) {
    if (const GeometryInput* g = own(name)) {
        if (g->isChoice() || g->isRadio() || g->isRowChoice() || g->isRowGrid() ||
            spinLimits_.contains(name) || own_.value(name) == text)
            return;
        own_[name] = text;
        if (!g->readOnly)
            geometryChanged(name, false);
        return;
    }
    QString error;
    const Resolved r = resolve(name, &error);
    if (r.target == Target::SoilField && (r.field == u"EditRo0"_s || r.field == u"EditPKV"_s)) {
        Soil& soil = soils_[r.index];
        QString& field = r.field == u"EditRo0"_s ? soil.measured : soil.coefficient;
        if (field != text) {
            field = text;
            soilValueChanged(r.index);
        }
    }
}

bool CalculatorSession::setInputText(const QString& name, const QString& text) {
    const GeometryInput* g = own(name);
    if (!g) {
        writeText(name, text);
        return true;
    }
    if (g->readOnly)
        return false;
    if (g->isRowGrid()) {
        setGridText(name, text);
        return true;
    }
    QString error;
    if (g->isRowChoice() || g->isChoice())
        return set(name, text, &error);
    if (g->isRadio()) {
        const QString before = own_.value(name);
        if (!set(name, text, &error))
            return false;
        if (own_.value(name) == before)
            inputChanged(name, false); // choosing it again still runs its handling
        return true;
    }
    if (spinLimits_.contains(name)) {
        const auto v = parseNumber(text);
        if (!v)
            return false;
        const auto [min, max] = spinLimits_.value(name);
        const int count = int(std::clamp<long double>(std::round(*v), min, max));
        return set(name, QString::number(count), &error);
    }
    if (own_.value(name) != text) {
        own_[name] = text;
        geometryChanged(name, false);
    }
    return true;
}

void CalculatorSession::applySpinLimits() {
    if (spinLimits_.isEmpty())
        return;
    const CalcInputs& in = current();
    for (auto it = spinLimits_.begin(); it != spinLimits_.end(); ++it) {
        const auto limits = calc_.spinLimits(in, it.key());
        if (!limits)
            continue;
        // The count moves into the new limits quietly, with the change that set them.
        it.value() = *limits;
        const int value = own_.value(it.key()).toInt();
        own_[it.key()] =
            QString::number(std::clamp(value, limits->first, std::max(limits->first, limits->second)));
    }
}

void CalculatorSession::changeTail() {
    if (tailHold_ == 0 && autoScore_)
        calculate(emptyRowTableMessage().isEmpty());
    else
        forgetResult();
}

QString CalculatorSession::emptyRowTableMessage() const {
    for (const GeometryInput& g : d_.geometry)
        if (const auto it = chosen_.constFind(g.name);
            it != chosen_.cend() && it->readable && it->rows.isEmpty())
            if (const RowTable* t = it->table >= 0 && it->table < g.rowChoice->tables.size()
                                        ? &g.rowChoice->tables[it->table]
                                        : nullptr)
                return t->emptyMessage;
    return {};
}

// ---- Soil frames

void CalculatorSession::soilTypeChosen(int index) {
    Soil& soil = soils_[index];
    const QString before = soil.measured;
    soil.chooseType(soil.name, data_);
    // The new p0 is handled as typed; a frame that bounds constructions waits for its type.
    if (soil.measured != before)
        soilValueChanged(index);
}

void CalculatorSession::soilValueChanged(int index) {
    soils_[index].updateCalculated();
    soilFrameChanged(index, false);
}

void CalculatorSession::soilFrameChanged(int index, bool typeChange) {
    Soil& soil = soils_[index];
    bool bounds = soil.setup->installation;
    for (const Section& s : std::as_const(sections_))
        bounds = bounds || s.soil == index;
    if (!typeChange && bounds && soil.name != soil.last) {
        result_.clear();
        order_.clear();
        warnings_.clear();
        return;
    }
    soil.last = soil.name;
    for (Section& s : sections_)
        if (s.soil == index && s.mode != AllSizes)
            refreshConstructions(s);
    const QString changed = soil.setup->prefix + (typeChange && bounds ? u"ComboGrunt"_s : u"EditRo0"_s);
    applyDerived(calc_.derive(current(), changed));
    changeTail();
    if (soil.setup->installation)
        syncInstallation();
}

// ---- Construction frames

std::optional<QString> CalculatorSession::sectionResistivity(const Section& section) const {
    if (section.soil < 0)
        return std::nullopt;
    return soils_[section.soil].calculated;
}

void CalculatorSession::refreshConstructions(Section& s) {
    QStringList said;
    s.refresh(data_, sectionResistivity(s), s.setup->setup.electrodeKind, &said);
    say(said);
}

void CalculatorSession::constructionChosen(Section& s) {
    QStringList said;
    s.chooseConstruction(data_, sectionResistivity(s), s.setup->setup.electrodeKind, &said);
    say(said);
}

void CalculatorSession::sizeChosen(Section& s) {
    s.chooseSize();
}

void CalculatorSession::sectionChanged() {
    applyDerived(calc_.derive(current(), u"cmbDiam"_s));
    changeTail();
}

// ---- Chosen rows and grids

void CalculatorSession::bindRowTable(const GeometryInput& g, bool move) {
    Chosen& c = chosen_[g.name];
    const int table = c.table;
    const QString key = c.row() ? c.row()->key : QString();
    int index = 0;
    if (const GeometryInput* radio = own(g.rowChoice->tableInput); radio && radio->isRadio())
        index = std::max(0, int(radio->radio->items.indexOf(own_.value(radio->name))));
    if (index >= g.rowChoice->tables.size())
        index = 0;
    c.table = index;
    const auto rows = index < g.rowChoice->tables.size()
                          ? data_.choiceRows(*g.rowChoice, g.rowChoice->tables[index])
                          : std::nullopt;
    c.readable = rows.has_value();
    c.rows = rows.value_or(QList<ChoiceRow>{});
    c.current = c.rows.isEmpty() ? -1 : 0;
    // The same table bound again keeps its row.
    if (!move && table == index)
        for (int i = 0; i < c.rows.size(); ++i)
            if (c.rows[i].key == key)
                c.current = i;
    // Another table is another row, even with the same key.
    rowChanged(g.name, move);
}

QString CalculatorSession::openOnFilledTable(const GeometryInput& g) {
    // A type whose table has no row gives no result: the window opens on the first one whose
    // table has, and says why.
    const Chosen& c = chosen_[g.name];
    const GeometryInput* radio = own(g.rowChoice->tableInput);
    if (!radio || !radio->isRadio() || !c.readable || !c.rows.isEmpty())
        return {};
    const QString empty = emptyRowTableMessage();
    for (int i = 0; i < g.rowChoice->tables.size() && i < radio->radio->items.size(); ++i) {
        if (i == c.table)
            continue;
        const auto rows = data_.choiceRows(*g.rowChoice, g.rowChoice->tables[i]);
        if (!rows || rows->isEmpty())
            continue;
        own_[radio->name] = radio->radio->items[i];
        inputChanged(radio->name, false); // binds that type's table
        return empty + u" Выбран тип «"_s + radio->radio->items[i] + u"»."_s;
    }
    return {};
}

void CalculatorSession::rowChanged(const QString& name, bool moveInputs) {
    if (moveInputs)
        moveWithRow(name);
    ++tailHold_;
    inputChanged(name, false);
    --tailHold_;
}

void CalculatorSession::moveWithRow(const QString& name) {
    const QMap<QString, QString> moved = calc_.userChoice(current(), name);
    ++tailHold_;
    for (const auto& [input, text] : moved.asKeyValueRange())
        setInputText(input, text);
    --tailHold_;
}

void CalculatorSession::layOutGrid(const QString& name, int lastNumber) {
    const GeometryInput* g = own(name);
    GridRows& rows = grids_[name];
    const int count = std::max(0, lastNumber - g->rowGrid->firstNumber + 1);
    const int cells = int(g->rowGrid->headers.size()) - 1;
    while (rows.size() > count)
        rows.removeLast();
    while (rows.size() < count)
        rows << QStringList(cells);
}

void CalculatorSession::setGridText(const QString& name, const QString& text) {
    const GeometryInput* g = own(name);
    const int cells = int(g->rowGrid->headers.size()) - 1;
    const GridRows rows = parseGridRows(text, cells);
    // In a case a grid with a count input keeps the rows its count gives: rows not given stay
    // empty for the check to name. A window's grid takes the rows it is given.
    const int last =
        gridCountInput(*g) && byCase_ ? gridLastNumber(*g) : g->rowGrid->firstNumber + int(rows.size()) - 1;
    layOutGrid(name, last);
    GridRows& shown = grids_[name];
    for (int r = 0; r < shown.size(); ++r)
        shown[r] = r < rows.size() ? rows[r] : QStringList(cells);
}

bool CalculatorSession::setGivenGrid(const QString& name, const GridRows& rows, QString* error) {
    // A window's cells filter the typing themselves.
    if (const QString refused = byCase_ ? untypeableGridCell(name, *own(name)->rowGrid, rows) : QString();
        !refused.isEmpty()) {
        *error = refused;
        return false;
    }
    // More rows than the count gives would be dropped without a word: refused instead.
    if (const GeometryInput* grid = own(name); gridCountInput(*grid)) {
        const int room = std::max(0, gridLastNumber(*grid) - grid->rowGrid->firstNumber + 1);
        if (rows.size() > room) {
            *error = u"в таблице "_s + name + u" строк больше ("_s + QString::number(rows.size()) +
                     u"), чем задает поле "_s + grid->rowGrid->countInput + u" ("_s + QString::number(room) +
                     u")"_s;
            return false;
        }
    }
    setGridText(name, gridRowsText(rows));
    return true;
}

const GeometryInput* CalculatorSession::gridCountInput(const GeometryInput& grid) const {
    return grid.rowGrid->countInput.isEmpty() ? nullptr : own(grid.rowGrid->countInput);
}

int CalculatorSession::gridLastNumber(const GeometryInput& grid) const {
    const GeometryInput* count = gridCountInput(grid);
    const auto it = own_.constFind(count->name);
    return (it != own_.cend() ? *it : count->defaultText).toInt();
}

QString CalculatorSession::gridShownText(const QString& name) const {
    return gridRowsText(grids_.value(name));
}

QString CalculatorSession::gridText(const QString& name) const {
    const GeometryInput* g = own(name);
    GridRows rows;
    for (const QStringList& row : grids_.value(name))
        rows << row.mid(0, g->rowGrid->editableColumns);
    return gridRowsText(rows);
}

// ---- Installation and toolbar

void CalculatorSession::syncInstallation() {
    if (!linkRo_ || !installationShown_)
        return;
    const QString& input = d_.installationResistivityInput;
    if (!input.isEmpty()) {
        // Only a valid number travels, written as the program writes numbers.
        const auto v = parseNumber(ownText(input));
        if (v && *v > 0 && isShowableResult(*v))
            applySoilResistivity(formatGeneral(*v));
        return;
    }
    for (const Soil& soil : std::as_const(soils_))
        if (soil.setup->installation)
            applySoilResistivity(soil.calculated);
}

void CalculatorSession::applySoilResistivity(const QString& ro) {
    installation_.resistivity = ro;
    const QString r =
        permissibleResistanceText(installation_.type, installation_.current, installation_.resistivity,
                                  installation_.power, installation_.voltage);
    if (!r.isEmpty())
        installation_.permissible = r;
}

void CalculatorSession::linkPressed() {
    if (!d_.linkPressedInput.isEmpty()) {
        applyDerived(calc_.derive(current(), d_.linkPressedInput));
        changeTail();
        return;
    }
    // As if the first linked input were changed by the user.
    for (const GeometryInput& g : d_.geometry)
        if (g.userChangesOnly && !g.isRowGrid() && !g.isRowChoice()) {
            geometryChanged(g.name, true);
            return;
        }
}

// ---- Result

void CalculatorSession::calculate() {
    calculate(true);
}

void CalculatorSession::calculate(bool shown) {
    const Evaluation e = calc_.evaluate(current());
    if (listener_)
        listener_->evaluated(e.ok());
    showEvaluation(e, shown);
}

void CalculatorSession::showValues(const QMap<QString, QString>& values) {
    for (const auto& [name, text] : values.asKeyValueRange()) {
        if (grids_.contains(name))
            setGridText(name, text);
        else if (own(name))
            own_[name] = text;
    }
}

std::optional<CheckFailure> CalculatorSession::refuseSelection() {
    auto refused = calc_.selectionPrecondition(current());
    if (refused)
        showValues(refused->shown);
    return refused;
}

std::optional<QString> CalculatorSession::prepareSingleSelection(const SelectionParameter& parameter) {
    const Calculator::Preparation preparation = calc_.prepareSingleSelection(current(), parameter);
    if (preparation.refusal)
        return preparation.refusal;
    ++tailHold_;
    for (const QString& name : preparation.cleared)
        if (const GeometryInput* g = own(name); g && !g->readOnly && !g->isChoice() && !g->isSpin() &&
                                                !g->isRadio() && !g->isPictureChoice() && !g->isRowChoice() &&
                                                !g->isRowGrid())
            setInputText(name, QString());
    --tailHold_;
    return std::nullopt;
}

void CalculatorSession::setToggle(const QString& name, bool down) {
    if (name == u"btnAutoScore"_s)
        autoScore_ = down;
    else if (name == u"btnLinkRo"_s)
        linkRo_ = down;
    else if (name == u"btnLinkParam"_s)
        linkParam_ = down && d_.linkedParameters;
    else if (name == u"btnEU"_s)
        installationShown_ = down;
    else if (name == u"btnPicture"_s)
        picture_ = down;
    else if (d_.equivalentResistivity && name == d_.equivalentResistivity->include)
        include_ = down && includeOffered_;
}

void CalculatorSession::linkInstallation() {
    syncInstallation();
}

void CalculatorSession::linkParameters(const QString& focused) {
    if (!linkParam_)
        return;
    // The rule of the linked input the user is in, else of the first one.
    if (const GeometryInput* g = own(focused); d_.linkPressedInput.isEmpty() && g && g->userChangesOnly)
        return geometryChanged(focused, true);
    linkPressed();
}

int CalculatorSession::chosenTable(const QString& name) const {
    return chosen_.value(name).table;
}

void CalculatorSession::showEvaluation(const Evaluation& e, bool show) {
    if (e.ok()) {
        for (const auto& [name, text] : e.shown.asKeyValueRange()) {
            if (grids_.contains(name))
                setGridText(name, text);
            else if (own(name))
                own_[name] = text;
            else
                writeText(name, text);
        }
        result_ = e.resultText;
        order_ = e.order;
        warnings_ = e.warnings;
        r_ = e.r;
        return;
    }
    forgetResult();
    showValues(e.failure->shown);
    if (e.failure->message.isEmpty())
        return;
    if (listener_)
        listener_->failed(*e.failure, show);
    else if (show)
        messages_ << e.failure->message;
}

std::optional<CheckFailure> CalculatorSession::check() const {
    return calc_.check(current());
}

bool CalculatorSession::allowStep(const QString& name, double step, bool up) const {
    return up ? calc_.allowStepUp(current(), name, step) : calc_.allowStepDown(current(), name, step);
}

void CalculatorSession::choose(const QString& name, const QString& text) {
    if (!own(name))
        return;
    own_[name] = text;
    const QMap<QString, QString> moved = calc_.userChoice(current(), name);
    for (const auto& [input, value] : moved.asKeyValueRange())
        setInputText(input, value);
    inputChanged(name, false);
}

GridCommand CalculatorSession::gridCommand(const QString& button) {
    GridCommand done = calc_.gridCommand(current(), button);
    showValues(done.shown);
    if (done.failure)
        showValues(done.failure->shown);
    return done;
}

void CalculatorSession::rowChosen(const QString& name, const QString& key, bool byUser) {
    const GeometryInput* g = own(name);
    if (!g || !g->isRowChoice())
        return;
    Chosen& c = chosen_[name];
    if (c.table < 0 || c.table >= g->rowChoice->tables.size())
        return;
    // The table may have been edited in its grid: its rows are read again.
    const auto rows = data_.choiceRows(*g->rowChoice, g->rowChoice->tables[c.table]);
    c.readable = rows.has_value();
    c.rows = rows.value_or(QList<ChoiceRow>{});
    c.current = -1;
    for (int i = 0; i < c.rows.size() && c.current < 0; ++i)
        if (c.rows[i].key == key)
            c.current = i;
    // The user's row moves the inputs that follow it.
    if (byUser)
        moveWithRow(name);
    inputChanged(name, byUser);
}

void CalculatorSession::takeSelectionResult(const QMap<QString, long double>& values, int combinations,
                                            bool inadmissible, std::optional<long double> r) {
    // One result follows the write-back, not one calculation per field written.
    ++tailHold_;
    for (const QString& name : d_.selection.writeBack) {
        if (!values.contains(name))
            continue;
        // Derived values are written below as the calculator derives them, in their format.
        if (const GeometryInput* g = own(name); g && g->readOnly)
            continue;
        const long double v = values.value(name);
        setInputText(name, spinLimits_.contains(name) ? QString::number(std::lround(v)) : formatGeneral(v));
    }
    for (Soil& soil : soils_)
        if (const QString p = soil.setup->prefix + u"EditRo"_s; values.contains(p))
            soil.calculated = formatGeneral(values.value(p));
    applyDerived(calc_.derive(current(), {}));
    --tailHold_;
    // A run that tried nothing leaves the result as the write-back left it.
    if (combinations == 0)
        return;
    if (inadmissible || !r)
        return forgetResult();
    showEvaluation(calc_.present(current(), *r), true);
}

CalcInputs CalculatorSession::inputs() const {
    return current();
}

const CalcInputs& CalculatorSession::current() const {
    // Written over the last one: the names stay, only the texts change.
    CalcInputs& in = current_;
    if (in.texts.isEmpty())
        in.texts.reserve(24 + 2 * d_.geometry.size());
    // The frames' field names are made once (fieldKeys): a name shared is not copied.
    for (const Soil& soil : soils_) {
        const QString* key = soil.keys.constData();
        in.texts.insert(key[0], soil.name);
        in.texts.insert(key[1], soil.measured);
        in.texts.insert(key[2], soil.coefficient);
        in.texts.insert(key[3], soil.calculated);
        in.soilRanges.insert(soil.setup->prefix, {soil.min, soil.max});
        if (soil.setup->prefix.isEmpty()) {
            in.pMin = soil.min;
            in.pMax = soil.max;
        }
    }
    if (d_.twoLayerSoil && soils_.size() > 1) {
        in.lowerPMin = soils_[1].min;
        in.lowerPMax = soils_[1].max;
    }
    static const QString modeTexts[] = {u"0"_s, u"1"_s, u"2"_s};
    for (const Section& s : sections_) {
        const QString* key = s.keys.constData();
        in.texts.insert(key[0], s.construction);
        in.texts.insert(key[1], s.size);
        in.texts.insert(key[2], s.shownSize);
        in.texts.insert(key[3], s.mode >= 0 && s.mode < 3 ? modeTexts[s.mode] : QString::number(s.mode));
        const auto diameter = parseNumber(s.diameterText());
        in.diameters.insert(s.setup->prefix, diameter);
        if (s.setup->prefix.isEmpty())
            in.diameter = diameter;
    }
    for (const GeometryInput& g : d_.geometry)
        in.texts.insert(g.name, ownText(g.name));
    for (const GeometryInput& g : d_.geometry) {
        const auto it = chosen_.constFind(g.name);
        if (it == chosen_.cend())
            continue;
        const ChoiceRow* row = it->row();
        in.texts.insert(rowCodeInput(g), row ? row->code : QString());
        for (const RowTable& t : g.rowChoice->tables)
            for (const auto& value : t.values)
                in.texts.insert(g.name + u'.' + value.first,
                                row ? row->values.value(value.first) : QString());
        if (!g.rowChoice->checkName.isEmpty())
            in.texts.insert(g.rowChoice->checkName, it->checked ? u"1"_s : QString());
    }
    in.texts.insert(u"EditVS1"_s, result_);
    if (d_.equivalentResistivity)
        in.texts.insert(d_.equivalentResistivity->include, include_ ? u"1"_s : QString());
    if (layers_.size() == 3) {
        in.texts.insert(u"pekv.p1"_s, layers_[0]);
        in.texts.insert(u"pekv.p2"_s, layers_[1]);
        in.texts.insert(u"pekv.h"_s, layers_[2]);
    }
    in.run = run_;
    in.singleRun = singleRun_;
    in.installation = installation_;
    in.linking = d_.linkedParameters && linkParam_;
    in.tables = data_.coefficients();
    return in;
}

// ---- What the window shows

QList<CalculatorSession::Field> CalculatorSession::shownFields() const {
    QList<Field> fields;
    fields.reserve(16 + 2 * d_.geometry.size());
    if (!d_.descriptionLines.isEmpty())
        fields << Field{u"Memo1"_s, {}, d_.descriptionLines.join(u'\n')};
    for (const Soil& soil : soils_) {
        if (!soil.setup->descriptionLines.isEmpty())
            fields << Field{soil.setup->descriptionName, {}, soil.setup->descriptionLines.join(u'\n')};
        fields << Field{u"EditRo"_s, soil.setup->name, soil.calculated};
    }
    for (const Section& s : sections_) {
        fields << Field{u"EditDiam0"_s, s.setup->name, s.shownSize};
        fields << Field{u"EditDiam"_s, s.setup->name, s.equivalent};
    }
    for (const GeometryInput& g : d_.geometry) {
        if (g.readOnly)
            fields << Field{g.name, {}, own_.value(g.name)};
        if (g.isRowChoice() && !g.rowChoice->legendName.isEmpty()) {
            const Chosen& c = chosen_[g.name];
            const RowTable* t = c.table >= 0 && c.table < g.rowChoice->tables.size()
                                    ? &g.rowChoice->tables[c.table]
                                    : nullptr;
            fields << Field{g.rowChoice->legendName, g.name, t ? t->legend.join(u'\n') : QString()};
        }
    }
    fields << Field{d_.resultName, {}, result_};
    if (d_.multiLineOrder)
        fields << Field{d_.orderMemoName, {}, order_.join(u'\n')};
    else
        fields << Field{u"EditRaschet"_s, {}, order_.join(u' ')};
    const QStringList installationTexts = {installation_.type, installation_.current, installation_.voltage,
                                           installation_.power, installation_.resistivity};
    for (int i = 0; i < installationFields().size(); ++i)
        fields << Field{installationFields()[i], installationFrameName, installationTexts[i]};
    return fields;
}

// The names the fields go by: a field's frame qualifies a name that is not unique.
QStringList CalculatorSession::fieldNames(const QList<Field>& fields) const {
    QString upperSoil;
    for (const Soil& soil : soils_)
        if (soil.setup->prefix.isEmpty())
            upperSoil = soil.setup->name;
    QStringList names;
    for (const Field& f : fields) {
        int namesakes = 0;
        for (const Field& other : fields)
            namesakes += other.name == f.name ? 1 : 0;
        // A frame's field never takes the plain name of one of the calculator's own inputs.
        const GeometryInput* shadow = f.frame.isEmpty() ? nullptr : own(f.name);
        if (shadow)
            namesakes += 2;
        const bool qualified =
            namesakes > 1 && !f.frame.isEmpty() && !(f.frame == upperSoil && namesakes == 2);
        names << (qualified ? f.frame + u'.' + f.name : f.name);
    }
    return names;
}

CalculatorSession::ShownTexts CalculatorSession::outputs() const {
    QList<Field> fields = shownFields();
    std::optional<CalcInputs> in;
    for (const GeometryInput& g : d_.geometry) {
        for (const auto& [label, follows, design] :
             {std::tuple{g.range.name, g.range.follows, g.range.text},
              std::tuple{g.range2.name, g.range2.follows, QString()}}) {
            if (!label.startsWith(u"lblRange"_s))
                continue;
            if (!follows.isEmpty() && !in)
                in = inputs();
            fields << Field{label, {}, follows.isEmpty() ? design : calc_.rangeLabel(*in, label)};
        }
    }
    // The calculator's own inputs as they stand after the calculation, derived ones included;
    // a grid with its computed columns.
    for (const GeometryInput& g : d_.geometry)
        fields << Field{g.name, {}, g.isRowGrid() ? gridShownText(g.name) : ownText(g.name)};
    // The same fields every time: their names and order are found once.
    if (outputLayout_.size() != fields.size()) {
        const QStringList names = fieldNames(fields);
        QMap<QString, int> chosen; // a name's first field stands
        for (qsizetype i = 0; i < names.size(); ++i)
            chosen.insert(names[i], chosen.value(names[i], int(i)));
        outputNames_ = chosen.keys();
        outputLayout_ = QList<int>(fields.size(), -1);
        for (qsizetype at = 0; at < outputNames_.size(); ++at)
            outputLayout_[chosen.value(outputNames_[at])] = int(at);
    }
    ShownTexts out(outputNames_.size());
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (const int at = outputLayout_[i]; at >= 0)
            out[at] = {outputNames_[at], std::move(fields[i].text)};
    return out;
}

ReportSource CalculatorSession::reportSource() const {
    ReportSource source;
    source.warnings = warnings_;
    const CalcInputs in = inputs();
    // Frame fields by "frame.field" and, where no other field took it first, by the plain name.
    const auto add = [&source](const QString& frame, const QString& field, const QString& text) {
        source.texts.insert(frame + u'.' + field, text);
        if (!source.texts.contains(field))
            source.texts.insert(field, text);
    };
    for (const Soil& soil : soils_) {
        const QStringList texts = {soil.name, soil.measured, soil.coefficient, soil.calculated};
        for (int i = 0; i < soilFields().size(); ++i)
            add(soil.setup->name, soilFields()[i], texts[i]);
    }
    for (const Section& s : sections_) {
        const QStringList texts = {s.construction, s.size, s.shownSize, s.equivalent};
        for (int i = 0; i < sectionFields().size(); ++i)
            add(s.setup->name, sectionFields()[i], texts[i]);
    }
    const QStringList installationTexts = {installation_.type, installation_.current, installation_.voltage,
                                           installation_.power, installation_.resistivity};
    for (int i = 0; i < installationFields().size(); ++i)
        add(installationFrameName, installationFields()[i], installationTexts[i]);
    add(installationFrameName, u"EditRmax"_s, installation_.permissible);
    source.texts.insert(d_.resultName, result_);
    if (!d_.multiLineOrder)
        source.texts.insert(u"EditRaschet"_s, order_.join(u' '));
    // A plain soil field is the upper (or only) frame's.
    for (const Soil& soil : soils_)
        if (soil.setup->prefix.isEmpty())
            for (const QString& field : soilFields())
                source.texts.insert(field, in.text(field));
    for (const GeometryInput& g : d_.geometry) {
        source.texts.insert(g.name, ownText(g.name));
        if (g.isRowChoice()) {
            source.texts.insert(rowCodeInput(g), in.text(rowCodeInput(g)));
            for (const RowTable& t : g.rowChoice->tables)
                for (const auto& value : t.values)
                    source.texts.insert(g.name + u'.' + value.first, in.text(g.name + u'.' + value.first));
        }
    }
    if (d_.multiLineOrder)
        source.texts.insert(d_.orderMemoName, order_.join(u'\n'));
    source.installation = installation_;
    source.picture = picture_;
    return source;
}

} // namespace kz
