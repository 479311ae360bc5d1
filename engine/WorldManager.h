/// \file
/// Owns the game world: every object lives here from construction until it is
/// deleted. Moves objects each step, turns overlaps into collision and
/// out-of-world events, deletes the objects marked for deletion, draws the
/// visible objects altitude by altitude and keeps the boundary and the view.
#ifndef VX_WORLD_MANAGER_H
#define VX_WORLD_MANAGER_H

#include <string>
#include <vector>

#include "Box.h"
#include "Manager.h"
#include "ObjectList.h"
#include "ObjectSet.h"
#include "ObjectSnapshot.h"
#include "SceneGraph.h"
#include "Vector.h"

namespace vx {

class Object;

/// The game world: owns every object from its construction until it is deleted, moves them
/// every step with their collision and out-of-world events, draws the visible ones, and keeps
/// the world's boundary and the view.
class WorldManager : public Manager {
 private:
  WorldManager();

  // A walk over a snapshot of objects that stays safe when objects leave the
  // world while it is under way (defined in WorldManager.cpp).
  class ObjectWalk;

  SceneGraph m_scene_graph;     // Index of all objects.
  ObjectSet m_deletions;        // Objects to delete at the end of this update, in marking order.
  Object *m_p_view_following;   // Object the view follows, or null.
  Box m_boundary;               // The world's extent.
  Box m_view;                   // The part of the world shown in the window.
  Vector m_view_slack;          // Dead zone around the view centre, fractions of the view.
  std::vector<ObjectWalk *> m_walks; // Walks under way, innermost last.
  SnapshotStack m_snapshots;    // The walks' snapshots, kept for reuse.

  // Deletes the objects in m_deletions, including those marked while the
  // deletions run, and leaves the list empty.
  void deleteMarked();

 public:
  /// The one world manager.
  static WorldManager &getInstance();

  /// Resets the view state and starts the scene graph. 0, or -1.
  int startUp() override;

  /// Deletes every remaining object and stops the scene graph.
  void shutDown() override;

  /// Adds a new object to the world (the Object constructor calls this). 0, or
  /// -1 when the world is not started.
  int insertObject(Object *p_o);

  /// Takes an object out of the world (the Object destructor calls this). 0 or -1.
  int removeObject(Object *p_o);

  /// Deletes the object at the end of the current update; marking twice deletes
  /// once. 0 or -1.
  int markForDelete(Object *p_o);

  /// The active objects, followed by the inactive ones when asked.
  ObjectList getAllObjects(bool inactive = false) const;

  /// The solid objects whose boxes would overlap p_o's box if it stood at where.
  ObjectList getCollisions(Object *p_o, Vector where) const;

  /// Moves an object to where, with collision, out-of-world and view-following
  /// handling. 0 when it moved, -1 when it did not.
  int moveObject(Object *p_o, Vector where);

  /// One step: moves every active object, applies paths and accelerations,
  /// then deletes the objects marked for deletion.
  void update();

  /// Draws the visible objects in the view, altitude 0 first.
  void draw();

  ///@{
  /// Sets the world's extent and rebuilds the scene graph's grid for it. 0, or
  /// -1 when the grid refuses the extent (the old one stays).
  int setBoundary(Box new_boundary);
  Box getBoundary() const;
  ///@}

  ///@{
  /// Sets the part of the world shown in the window, unchecked.
  void setView(Box new_view);
  Box getView() const;
  ///@}

  ///@{
  /// The dead zone of view following, as fractions (0 to 1) of the view's
  /// extents; values out of range are stored with a warning.
  void setViewSlack(Vector new_view_slack);
  Vector getViewSlack() const;
  ///@}

  /// Centres the view on a position, keeping it inside the boundary.
  void setViewPosition(Vector view_pos);

  ///@{
  /// Makes the view follow an object (null stops following) and centres the
  /// view on it. 0, or -1 for an object not in the world (nothing changes).
  int setViewFollowing(Object *p_new_view_following);
  Object *getViewFollowing() const;
  ///@}

  /// The index of all objects; the object setters report their changes to it.
  SceneGraph &getSceneGraph();

  /// Accepts every event type but those other managers keep ("vx-keyboard",
  /// "vx-mouse", "vx-step") and those sent directly ("vx-collision", "vx-out").
  bool isValid(std::string event_type) const override;
};

} // namespace vx

#endif // VX_WORLD_MANAGER_H
