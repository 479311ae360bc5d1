/// \file
/// The world's index of objects: the active, inactive, solid and visible
/// (per altitude) objects, the active objects of each type, and the grid of
/// the solid ones. Object setters report changes here before they take effect.
#ifndef VX_SCENE_GRAPH_H
#define VX_SCENE_GRAPH_H

#include <map>
#include <string>

#include "Grid.h"
#include "Object.h"
#include "ObjectList.h"
#include "ObjectSet.h"
#include "Vector.h"

namespace vx {

/// The world's index of its objects: all of them, the active, inactive and solid ones, the
/// visible ones by altitude, the active ones by type, and the grid of the solid ones. Holds
/// pointers only; the world owns the objects.
class SceneGraph {
 private:
  // Sets kept in the order objects entered them, so that filing an object
  // and taking it out again cost the same however many objects there are.
  ObjectSet m_objects;                             // All active objects.
  ObjectSet m_solid_objects;                       // Active HARD or SOFT objects.
  ObjectSet m_visible_objects[MAX_ALTITUDE + 1];   // Active visible objects per altitude.
  ObjectSet m_inactive_objects;                    // Inactive objects.
  std::map<std::string, ObjectSet> m_type_map;     // Active objects of each type.
  Grid m_grid;                                      // Cells of the solid active objects.

  // Takes a partly filed active object out of the lists again (out of the
  // grid only when it got there). Returns -1 for insertObject to pass on.
  int unfile(Object *p_o, bool in_grid);

 public:
  /// An empty scene graph with no grid.
  SceneGraph();

  ///@{
  /// Not copyable: the world has one scene graph.
  SceneGraph(const SceneGraph &) = delete;
  SceneGraph &operator=(const SceneGraph &) = delete;
  ///@}

  /// Rebuilds the type map from the active objects and starts the grid for
  /// the world's current boundary. Returns the grid's result.
  int startUp();

  /// Empties the type map and frees the grid; the object lists stay.
  void shutDown();

  /// Adds an object to the lists its state calls for. 0 or -1.
  int insertObject(Object *p_o);

  /// Takes an object out of every list it is in. 0 or -1.
  int removeObject(Object *p_o);

  ///@{
  /// Copies of the lists.
  ObjectList activeObjects() const;
  ObjectList inactiveObjects() const;
  ObjectList solidObjects() const;
  ///@}

  /// The visible objects at an altitude; empty, with a warning, outside [0, MAX_ALTITUDE].
  ObjectList visibleObjects(int altitude) const;

  /// The active objects of a type (empty for a type never seen).
  ObjectList typeObjects(std::string type) const;

  /// The sets themselves, for walks that take their own snapshot.
  const ObjectSet &activeSet() const;
  const ObjectSet &visibleSet(int altitude) const; ///< altitude within [0, MAX_ALTITUDE]

  /// The solid objects whose boxes intersect p_o's box placed at where.
  ObjectList getCollisions(Object *p_o, Vector where) const;

  /// The same objects, appended to a list the caller keeps.
  void collectCollisions(const Object *p_o, Vector where, std::vector<Object *> &out) const;

  /// Starts loading the grid cell under a solid active object ahead of its move.
  void prefetch(const Object *p_o, bool contents) const {
    if (p_o->isSolid() && p_o->isActive())
      m_grid.prefetch(p_o, contents);
  }

  /// The grid (for inspection).
  const Grid &getGrid() const;

  ///@{
  /// Called by the object setters before the object's own field changes, so
  /// the object still shows the old state. 0 or -1.
  int updateActive(Object *p_o, bool new_active);
  int updateAltitude(Object *p_o, int new_altitude);
  int updateSolidness(Object *p_o, Solidness new_solidness);
  int updateType(Object *p_o, std::string new_type);
  int updateVisible(Object *p_o, bool new_visible);
  int updatePosition(Object *p_o, Vector new_position);
  ///@}
};

} // namespace vx

#endif // VX_SCENE_GRAPH_H
