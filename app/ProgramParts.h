#pragma once
// Small owners the program object is made of, each undoing on its end what
// its start did, so that the program's members end in the reverse of their
// start-up order without a step written out by hand.
#include <QString>
#include <memory>
#include <utility>

#include "help/HelpViewer.h"
#include "help/hh.h"
#include "help/hh_funcs.h"

class HelpWindowHost;

// Owns a part and publishes it under the global name the game's design gives
// it (a non-owning pointer), for as long as it lives.
template <typename Part>
class NamedPart {
public:
    NamedPart(Part*& name, std::unique_ptr<Part> part) : name_(name), part_(std::move(part)) { name_ = part_.get(); }
    ~NamedPart()
    {
        name_ = nullptr;
        part_.reset();
    }
    NamedPart(const NamedPart&) = delete;
    NamedPart& operator=(const NamedPart&) = delete;

    Part& operator*() const { return *part_; }
    Part* operator->() const { return part_.get(); }

private:
    Part*& name_;
    std::unique_ptr<Part> part_;
};

// The game's own help viewer where the platform has none, installed for the
// help layer while it lives.
class InstalledHelpViewer {
public:
    explicit InstalledHelpViewer(HelpWindowHost& host) : viewer_(MakeOwnHelpViewer(&host))
    {
        if (viewer_)
            SetHelpViewer(viewer_.get());
    }
    ~InstalledHelpViewer()
    {
        if (viewer_)
            SetHelpViewer(nullptr);
    }
    InstalledHelpViewer(const InstalledHelpViewer&) = delete;
    InstalledHelpViewer& operator=(const InstalledHelpViewer&) = delete;

private:
    std::unique_ptr<HelpViewer> viewer_;
};

// The help router for the help file; its end closes every help window, and
// the viewer is told once more to close all of them.
class HelpSession {
public:
    explicit HelpSession(const QString& helpFile)
        : router_(std::make_unique<THookHelpSystem>(helpFile, QString(), HelpHostType::HtmlHelp))
    {
    }
    ~HelpSession()
    {
        router_.reset();
        HHCloseAll();
    }
    HelpSession(const HelpSession&) = delete;
    HelpSession& operator=(const HelpSession&) = delete;

    THookHelpSystem& Router() const { return *router_; }

private:
    std::unique_ptr<THookHelpSystem> router_;
};
