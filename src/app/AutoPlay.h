#pragma once

// Headless play: a player that puts the picture together in the application
// core with nothing but the field mouse and the side switch, for the tool
// and the tests. It reads the game to decide where to press; every change
// goes through the core's own handlers.
//
// The picture grows from one anchor group on the first side (the frame, or
// the topmost piece), placed so that the finished picture lies inside the
// side's visible client. A loose group with a neighbour in the picture is
// turned upright by clicks with the rotate bindings and dragged (a press,
// several moves, a release) to the place where it fits. Every join brings
// the picture to the top, so a loose group that the next landing would bury
// for good is first sent to the second side with the move-to-other-side
// binding and fetched back the same way once it fits; there, a group lying
// hidden under others is uncovered by dragging the one on top to the
// emptiest spot.
//
// Limits: only places inside the visible client are reached (the program
// fits the picture to the screen, so all are unless fitting is off), and in
// single-window mode nothing can be sent away, so a crowded side may leave
// the player stuck.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "game/GameState.h"
#include "play/PlayWindow.h"
#include "settings/Settings.h"

namespace orvel {

class TOrvelApp;

// What the player's hands reach: the field mouse at field coordinates and
// the key that shows the other side.
class TPlayerHands {
public:
    virtual ~TPlayerHands() = default;
    virtual void Press(int x, int y, int button, uint8_t shift) = 0;
    virtual void Move(int x, int y, bool buttonHeld) = 0;
    virtual void Release(int x, int y, int button, uint8_t shift) = 0;
    virtual void SwitchSide() = 0;
};

// Hands on the application core's field mouse and keyboard.
class TAppHands : public TPlayerHands {
public:
    explicit TAppHands(TOrvelApp& app) : m_app(app) {}
    void Press(int x, int y, int button, uint8_t shift) override;
    void Move(int x, int y, bool buttonHeld) override;
    void Release(int x, int y, int button, uint8_t shift) override;
    void SwitchSide() override;

private:
    TOrvelApp& m_app;
};

struct TAutoPlayStats {
    int Moves = 0;         // drags: a press, several moves, a release
    int Clicks = 0;        // turns and sends to the other side
    int Joins = 0;         // groups that disappeared by joining
    int SideSwitches = 0;  // presses of the side switch
    int SentAway = 0;      // groups sent to the other side out of the way
    int Fetched = 0;       // groups fetched back from the other side
    int Shifted = 0;       // groups dragged aside on the other side
    bool Stuck = false;    // no loose group could be reached any more
};

class TAutoPlay {
public:
    // Everything is held by reference and must outlive the player; the game
    // is only read, every change comes from the hands.
    TAutoPlay(const TGame& game, const TPlayWindows& wins, const TSettings& settings,
              TPlayerHands& hands);

    // Plays until the picture is solved, no group can be reached, or
    // maxMoves drags were made (a negative maxMoves: no limit).
    TAutoPlayStats Play(int maxMoves);

    // The visible part of a side's content: (X0, Y0) is its top-left.
    struct TView {
        int X0 = 0, Y0 = 0, W = 0, H = 0;
        bool Contains(int x, int y) const { return x >= X0 && y >= Y0 && x < X0 + W && y < Y0 + H; }
    };

private:
    using TGroupMap = std::unordered_map<int32_t, std::vector<int>>;

    // Decisions.
    bool OutOfMoves() const;
    bool Step();
    bool PlaceAnchor();
    int ChooseAnchor();
    void StartPicture(int x, int y);
    bool OriginMoved();
    bool AttachFromSide0();
    bool UncoverOnSide0();
    bool AttachFromSide1();
    bool UncoverOnSide1(const std::vector<int>& wanted);
    std::vector<int> Candidates(int window) const;
    bool Bring(int piece);
    bool ClearLanding(int piece, bool& acted);
    int NextToClear(int piece);

    // What the field shows.
    void ReadGroups();
    const std::vector<int>& GroupOf(int piece) const;
    bool InAnchor(int piece) const;
    bool HasAnchorNeighbour(const std::vector<int>& group) const;
    bool LandingInView(const std::vector<int>& group) const;
    bool Footprint(const std::vector<int>& group, uint8_t value) const;
    void MarkAnchorFootprint();
    void BuildPickMap(int window);
    bool VisiblePoint(int piece, int& x, int& y) const;
    int CoveringPiece(int piece, int except) const;
    bool FreeSpot(int piece, int& dx, int& dy);

    // What the hands do.
    void ShowSide(int side);
    void TurnUpright(int piece, int x, int y);
    void Click(int x, int y, int button, uint8_t shift);
    void SendToOtherSide(int piece);
    bool Drag(int x, int y, int dx, int dy);
    void Changed();

    const TGame& m_game;
    const TPlayWindows& m_wins;
    const TSettings& m_settings;
    TPlayerHands& m_hands;
    TAutoPlayStats m_stats;
    int m_maxMoves = -1;
    int m_idle = 0;  // actions since the picture last grew

    int m_anchor = -1;  // a piece of the picture being put together
    int m_anchorTries = 0;
    bool m_placed = false;
    int m_originX = 0;  // where the picture's top-left lies in the first side's content
    int m_originY = 0;
    TView m_view;  // the sides' visible content
    TGroupMap m_groups;
    std::vector<uint8_t> m_inAnchor;   // by piece: marked in the footprint
    std::vector<uint8_t> m_footprint;  // over m_view: 1 the anchor's points (2 a landing)
    std::vector<int32_t> m_pick;       // over m_view: the topmost piece, -1 none
    int m_pickWindow = -1;             // the window m_pick shows, -1 none
    std::vector<uint8_t> m_failed;     // by piece: its group could not be brought
};

}  // namespace orvel
