/*
 * A weston module for the tests: the hands and eyes of a player in a
 * compositor that has neither (the headless backend).
 *
 * It adds a seat with a keyboard and a pointer, and listens on the Unix
 * socket named by TANGRIX_WESTON_DRIVER. Each line sent there is one
 * command, answered with "ok" or "error <why>":
 *
 *   key <evdev code> <1 press | 0 release>
 *   motion <x> <y>                     pointer to a place of the desktop
 *   button <evdev code> <1 | 0>
 *   pointer                            "pointer <x> <y> <buttons held>
 *                                      <1 while the shell holds it (a move)>
 *                                      <id of the window under it, or 0>"
 *   windows                            the mapped windows, top one first:
 *     window \t id \t kind \t parent id \t x \t y \t width \t height
 *            \t has keyboard (0/1) \t app id \t title
 *
 * The title and app id are the compositor's own (libweston-desktop). The
 * parent is taken from the xdg_toplevel.set_parent requests the compositor
 * received, which weston 10 keeps to itself: a protocol logger follows the
 * xdg objects of each client back to their wl_surface.
 *
 * Built only for the tests, against libweston-10; not part of the game.
 */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <libweston-desktop/libweston-desktop.h>
#include <libweston/libweston.h>
#include <wayland-server.h>

/* Exported by libweston-10 but declared only in its internal headers. */
void weston_seat_init(struct weston_seat *seat, struct weston_compositor *ec, const char *seat_name);
void weston_seat_release(struct weston_seat *seat);
void weston_seat_init_pointer(struct weston_seat *seat);
int weston_seat_init_keyboard(struct weston_seat *seat, struct xkb_keymap *keymap);
void notify_key(struct weston_seat *seat, const struct timespec *time, uint32_t key,
		enum wl_keyboard_key_state state, enum weston_key_state_update update_state);
void notify_motion_absolute(struct weston_seat *seat, const struct timespec *time, double x, double y);
void notify_button(struct weston_seat *seat, const struct timespec *time, int32_t button,
		  enum wl_pointer_button_state state);
void notify_pointer_frame(struct weston_seat *seat);

enum surface_kind { KIND_UNKNOWN, KIND_TOPLEVEL, KIND_POPUP };

/* What the driver knows of one wl_surface that got an xdg_surface. */
struct known_surface {
	struct wl_list link;
	struct weston_surface *surface;
	struct weston_surface *parent;
	enum surface_kind kind;
	struct wl_listener destroyed;
	struct driver *driver;
};

/* A client's xdg_surface or xdg_toplevel object, by its id, and its wl_surface. */
struct xdg_object {
	struct wl_list link;
	struct wl_client *client;
	uint32_t id;
	struct weston_surface *surface;
};

struct driver {
	struct weston_compositor *compositor;
	struct weston_seat seat;
	struct wl_protocol_logger *logger;
	struct wl_list surfaces;     /* known_surface */
	struct wl_list xdg_surfaces; /* xdg_object */
	struct wl_list toplevels;    /* xdg_object */
	int listen_fd;
	int client_fd;
	struct wl_event_source *listen_source;
	struct wl_event_source *client_source;
	char line[512];
	size_t line_length;
	struct wl_listener compositor_destroyed;
};

static struct known_surface *
find_surface(struct driver *d, struct weston_surface *surface)
{
	struct known_surface *known;
	wl_list_for_each(known, &d->surfaces, link)
		if (known->surface == surface)
			return known;
	return NULL;
}

static void
forget_surface(struct known_surface *known)
{
	struct known_surface *other;
	wl_list_for_each(other, &known->driver->surfaces, link)
		if (other->parent == known->surface)
			other->parent = NULL;
	wl_list_remove(&known->destroyed.link);
	wl_list_remove(&known->link);
	free(known);
}

static void
surface_destroyed(struct wl_listener *listener, void *data)
{
	struct known_surface *known = wl_container_of(listener, known, destroyed);
	(void)data;
	forget_surface(known);
}

static struct known_surface *
know_surface(struct driver *d, struct weston_surface *surface)
{
	struct known_surface *known = find_surface(d, surface);
	if (known)
		return known;
	known = calloc(1, sizeof *known);
	if (!known)
		return NULL;
	known->surface = surface;
	known->driver = d;
	known->destroyed.notify = surface_destroyed;
	wl_signal_add(&surface->destroy_signal, &known->destroyed);
	wl_list_insert(&d->surfaces, &known->link);
	return known;
}

/* Ids are reused once an object is gone: a new object replaces the entry. */
static void
remember_object(struct wl_list *list, struct wl_client *client, uint32_t id, struct weston_surface *surface)
{
	struct xdg_object *object;
	wl_list_for_each(object, list, link) {
		if (object->client == client && object->id == id) {
			object->surface = surface;
			return;
		}
	}
	object = calloc(1, sizeof *object);
	if (!object)
		return;
	object->client = client;
	object->id = id;
	object->surface = surface;
	wl_list_insert(list, &object->link);
}

static struct weston_surface *
object_surface(struct wl_list *list, struct wl_resource *resource)
{
	struct xdg_object *object;
	if (!resource)
		return NULL;
	wl_list_for_each(object, list, link)
		if (object->client == wl_resource_get_client(resource) && object->id == wl_resource_get_id(resource))
			return object->surface;
	return NULL;
}

static void
forget_objects(struct wl_list *list)
{
	struct xdg_object *object, *next;
	wl_list_for_each_safe(object, next, list, link) {
		wl_list_remove(&object->link);
		free(object);
	}
}

/* Follows xdg_wm_base.get_xdg_surface, xdg_surface.get_toplevel/get_popup
 * and xdg_toplevel.set_parent/destroy, before the compositor handles them. */
static void
log_request(void *data, enum wl_protocol_logger_type direction, const struct wl_protocol_logger_message *message)
{
	struct driver *d = data;
	if (direction != WL_PROTOCOL_LOGGER_REQUEST)
		return;
	const char *interface = wl_resource_get_class(message->resource);
	const char *name = message->message->name;
	struct wl_client *client = wl_resource_get_client(message->resource);

	if (strcmp(interface, "xdg_wm_base") == 0 && strcmp(name, "get_xdg_surface") == 0) {
		struct wl_resource *wl_surface = (struct wl_resource *)message->arguments[1].o;
		struct weston_surface *surface = wl_surface ? wl_resource_get_user_data(wl_surface) : NULL;
		if (surface) {
			remember_object(&d->xdg_surfaces, client, message->arguments[0].n, surface);
			know_surface(d, surface);
		}
	} else if (strcmp(interface, "xdg_surface") == 0
		   && (strcmp(name, "get_toplevel") == 0 || strcmp(name, "get_popup") == 0)) {
		struct weston_surface *surface = object_surface(&d->xdg_surfaces, message->resource);
		struct known_surface *known = surface ? find_surface(d, surface) : NULL;
		if (!known)
			return;
		if (strcmp(name, "get_toplevel") == 0) {
			known->kind = KIND_TOPLEVEL;
			known->parent = NULL;
			remember_object(&d->toplevels, client, message->arguments[0].n, surface);
		} else {
			known->kind = KIND_POPUP;
			known->parent = object_surface(&d->xdg_surfaces, (struct wl_resource *)message->arguments[1].o);
		}
	} else if (strcmp(interface, "xdg_toplevel") == 0) {
		struct weston_surface *surface = object_surface(&d->toplevels, message->resource);
		struct known_surface *known = surface ? find_surface(d, surface) : NULL;
		if (!known)
			return;
		if (strcmp(name, "set_parent") == 0)
			known->parent = object_surface(&d->toplevels, (struct wl_resource *)message->arguments[0].o);
		else if (strcmp(name, "destroy") == 0)
			known->parent = NULL;
	}
}

static void
reply(struct driver *d, const char *text)
{
	size_t left = strlen(text);
	while (left > 0 && d->client_fd >= 0) {
		ssize_t written = write(d->client_fd, text, left);
		if (written < 0 && errno == EINTR)
			continue;
		if (written <= 0)
			return;
		text += written;
		left -= (size_t)written;
	}
}

/* Tabs and line breaks would break the reply's fields. */
static void
clean_copy(char *to, size_t size, const char *from)
{
	size_t i = 0;
	for (; from && from[i] && i + 1 < size; ++i)
		to[i] = (from[i] == '\t' || from[i] == '\n' || from[i] == '\r') ? ' ' : from[i];
	to[i] = '\0';
}

static void
list_windows(struct driver *d)
{
	struct weston_keyboard *keyboard = weston_seat_get_keyboard(&d->seat);
	struct weston_layer *layer;
	wl_list_for_each(layer, &d->compositor->layer_list, link) {
		struct weston_view *view;
		wl_list_for_each(view, &layer->view_list.link, layer_link.link) {
			struct weston_surface *surface = view->surface;
			if (!weston_view_is_mapped(view) || !weston_surface_is_desktop_surface(surface))
				continue;
			struct weston_desktop_surface *desktop = weston_surface_get_desktop_surface(surface);
			struct known_surface *known = find_surface(d, surface);
			struct weston_geometry window = weston_desktop_surface_get_geometry(desktop);
			static const char *const kinds[] = {"unknown", "toplevel", "popup"};
			char title[256], app_id[256], line[700];
			clean_copy(title, sizeof title, weston_desktop_surface_get_title(desktop));
			clean_copy(app_id, sizeof app_id, weston_desktop_surface_get_app_id(desktop));
			snprintf(line, sizeof line, "window\t%lx\t%s\t%lx\t%d\t%d\t%d\t%d\t%d\t%s\t%s\n", (unsigned long)(uintptr_t)surface,
				 kinds[known ? known->kind : KIND_UNKNOWN], known ? (unsigned long)(uintptr_t)known->parent : 0ul,
				 (int)view->geometry.x + window.x, (int)view->geometry.y + window.y, window.width,
				 window.height, keyboard && keyboard->focus == surface, app_id, title);
			reply(d, line);
		}
	}
	reply(d, "ok\n");
}

static void
run_command(struct driver *d, const char *command)
{
	struct timespec now;
	weston_compositor_get_time(&now);
	unsigned code = 0;
	int down = 0;
	double x = 0, y = 0;
	if (sscanf(command, "key %u %d", &code, &down) == 2) {
		notify_key(&d->seat, &now, code, down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED,
			   STATE_UPDATE_AUTOMATIC);
		reply(d, "ok\n");
	} else if (sscanf(command, "motion %lf %lf", &x, &y) == 2) {
		notify_motion_absolute(&d->seat, &now, x, y);
		notify_pointer_frame(&d->seat);
		reply(d, "ok\n");
	} else if (sscanf(command, "button %u %d", &code, &down) == 2) {
		notify_button(&d->seat, &now, (int32_t)code,
			      down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
		notify_pointer_frame(&d->seat);
		reply(d, "ok\n");
	} else if (strcmp(command, "pointer") == 0) {
		struct weston_pointer *pointer = weston_seat_get_pointer(&d->seat);
		char line[160];
		snprintf(line, sizeof line, "pointer %d %d %u %d %lx\nok\n", wl_fixed_to_int(pointer->x),
			 wl_fixed_to_int(pointer->y), pointer->button_count, pointer->grab != &pointer->default_grab,
			 pointer->focus ? (unsigned long)(uintptr_t)pointer->focus->surface : 0ul);
		reply(d, line);
	} else if (strcmp(command, "windows") == 0) {
		list_windows(d);
	} else {
		reply(d, "error unknown command\n");
	}
}

static void
close_client(struct driver *d)
{
	if (d->client_source)
		wl_event_source_remove(d->client_source);
	d->client_source = NULL;
	if (d->client_fd >= 0)
		close(d->client_fd);
	d->client_fd = -1;
	d->line_length = 0;
}

static int
client_readable(int fd, uint32_t mask, void *data)
{
	struct driver *d = data;
	char buffer[256];
	(void)mask;
	ssize_t got = read(fd, buffer, sizeof buffer);
	if (got < 0 && (errno == EINTR || errno == EAGAIN))
		return 0;
	if (got <= 0) {
		close_client(d);
		return 0;
	}
	for (ssize_t i = 0; i < got; ++i) {
		if (buffer[i] == '\n') {
			d->line[d->line_length] = '\0';
			run_command(d, d->line);
			d->line_length = 0;
		} else if (d->line_length + 1 < sizeof d->line) {
			d->line[d->line_length++] = buffer[i];
		}
	}
	return 0;
}

static int
connection_waiting(int fd, uint32_t mask, void *data)
{
	struct driver *d = data;
	(void)mask;
	int client = accept4(fd, NULL, NULL, SOCK_CLOEXEC);
	if (client < 0)
		return 0;
	/* One test at a time: a new connection replaces the old one. */
	close_client(d);
	d->client_fd = client;
	d->client_source = wl_event_loop_add_fd(wl_display_get_event_loop(d->compositor->wl_display), client,
						WL_EVENT_READABLE, client_readable, d);
	return 0;
}

static void
compositor_destroyed(struct wl_listener *listener, void *data)
{
	struct driver *d = wl_container_of(listener, d, compositor_destroyed);
	(void)data;
	close_client(d);
	if (d->listen_source)
		wl_event_source_remove(d->listen_source);
	if (d->listen_fd >= 0)
		close(d->listen_fd);
	if (d->logger)
		wl_protocol_logger_destroy(d->logger);
	struct known_surface *known, *next;
	wl_list_for_each_safe(known, next, &d->surfaces, link)
		forget_surface(known);
	forget_objects(&d->xdg_surfaces);
	forget_objects(&d->toplevels);
	weston_seat_release(&d->seat);
	free(d);
}

static int
listen_on(const char *path)
{
	struct sockaddr_un address = {.sun_family = AF_UNIX};
	if (strlen(path) >= sizeof address.sun_path)
		return -1;
	strcpy(address.sun_path, path);
	int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
	if (fd < 0)
		return -1;
	unlink(path);
	if (bind(fd, (struct sockaddr *)&address, sizeof address) < 0 || listen(fd, 2) < 0) {
		close(fd);
		return -1;
	}
	return fd;
}

WL_EXPORT int
wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[])
{
	(void)argc;
	(void)argv;
	const char *path = getenv("TANGRIX_WESTON_DRIVER");
	if (!path || !*path) {
		weston_log("test driver: TANGRIX_WESTON_DRIVER names no socket\n");
		return -1;
	}
	struct driver *d = calloc(1, sizeof *d);
	if (!d)
		return -1;
	d->compositor = compositor;
	d->client_fd = -1;
	wl_list_init(&d->surfaces);
	wl_list_init(&d->xdg_surfaces);
	wl_list_init(&d->toplevels);

	d->listen_fd = listen_on(path);
	if (d->listen_fd < 0) {
		weston_log("test driver: cannot listen on %s: %s\n", path, strerror(errno));
		free(d);
		return -1;
	}
	weston_seat_init(&d->seat, compositor, "tangrix-test");
	weston_seat_init_pointer(&d->seat);
	if (weston_seat_init_keyboard(&d->seat, NULL) < 0) {
		weston_log("test driver: no keyboard\n");
		weston_seat_release(&d->seat);
		close(d->listen_fd);
		free(d);
		return -1;
	}
	d->logger = wl_display_add_protocol_logger(compositor->wl_display, log_request, d);
	d->listen_source = wl_event_loop_add_fd(wl_display_get_event_loop(compositor->wl_display), d->listen_fd,
						WL_EVENT_READABLE, connection_waiting, d);
	d->compositor_destroyed.notify = compositor_destroyed;
	weston_compositor_add_destroy_listener_once(compositor, &d->compositor_destroyed, compositor_destroyed);
	weston_log("test driver: listening on %s\n", path);
	return 0;
}
